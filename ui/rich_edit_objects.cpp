#include "ui/rich_edit_objects.h"

#include <ole2.h>
#include <oledlg.h>
#include <richedit.h>
#include <richole.h>

#include <array>

#include "ui/rich_edit.h"

namespace ui {
namespace {

// Releases a COM pointer at the end of its scope.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* Get() const { return p_; }
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// What the dialog gives back, whichever of its two forms ran.
struct InsertRequest {
  DWORD flags = 0;
  CLSID clsid{};
};

// The dialog's request, the same in its wide and its ANSI form.
template <class Dialog, std::size_t N, class Char>
void PrepareInsertObject(Dialog& dialog, std::array<Char, N>& file, HWND owner, IOleClientSite* site,
                         IStorage* storage, void** object) {
  dialog.cbStruct = sizeof dialog;
  dialog.dwFlags = IOF_SELECTCREATENEW | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT | IOF_DISABLEDISPLAYASICON;
  dialog.hWndOwner = owner;
  dialog.lpszFile = file.data();
  dialog.cchFile = static_cast<UINT>(file.size());
  dialog.iid = IID_IOleObject;
  dialog.oleRender = OLERENDER_DRAW;
  dialog.lpIOleClientSite = site;
  dialog.lpIStorage = storage;
  dialog.ppvObj = object;
}

// The wide dialog, else the ANSI one: some systems (Wine) offer only that.
UINT RunInsertObjectDialog(InsertRequest& result, HWND owner, IOleClientSite* site, IStorage* storage, void** object) {
  std::array<wchar_t, MAX_PATH> wideFile{};
  OLEUIINSERTOBJECTW wide{};
  PrepareInsertObject(wide, wideFile, owner, site, storage, object);
  SetLastError(0);
  UINT answer = OleUIInsertObjectW(&wide);
  if (answer != OLEUI_FALSE || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
    result = {wide.dwFlags, wide.clsid};
    return answer;
  }
  std::array<char, MAX_PATH> ansiFile{};
  OLEUIINSERTOBJECTA ansi{};
  PrepareInsertObject(ansi, ansiFile, owner, site, storage, object);
  answer = OleUIInsertObjectA(&ansi);
  result = {ansi.dwFlags, ansi.clsid};
  return answer;
}

bool OleStarted() {
  static const bool started = SUCCEEDED(OleInitialize(nullptr));
  return started;
}

}  // namespace

InsertObjectResult ShowInsertObjectDialog(RichEdit& editor, HWND owner) {
  if (!editor.IsCreated() || !OleStarted()) return InsertObjectResult::Unavailable;
  ComRef<IRichEditOle> ole;
  if (!editor.Send(EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(ole.Out())) || !ole) {
    return InsertObjectResult::Unavailable;
  }
  ComRef<IOleClientSite> site;
  ComRef<IStorage> storage;
  if (FAILED(ole->GetClientSite(site.Out())) ||
      FAILED(StgCreateDocfile(nullptr, STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_DELETEONRELEASE, 0,
                              storage.Out()))) {
    return InsertObjectResult::Unavailable;
  }

  ComRef<IOleObject> object;
  InsertRequest request{};
  const UINT answer = RunInsertObjectDialog(request, owner ? owner : GetParent(editor.Handle()), site.Get(),
                                            storage.Get(), reinterpret_cast<void**>(object.Out()));
  // OLEUI_FALSE: the ANSI dialog of some systems (Wine) closed by Cancel.
  if (answer == OLEUI_CANCEL || answer == OLEUI_FALSE) return InsertObjectResult::Cancelled;
  if (answer != OLEUI_OK) return InsertObjectResult::Unavailable;
  if (!object) return InsertObjectResult::Failed;

  OleSetContainedObject(object.Get(), TRUE);
  REOBJECT inserted{};
  inserted.cbStruct = sizeof inserted;
  inserted.cp = REO_CP_SELECTION;
  inserted.clsid = request.clsid;
  inserted.poleobj = object.Get();
  inserted.pstg = storage.Get();
  inserted.polesite = site.Get();
  inserted.dvaspect = DVASPECT_CONTENT;
  inserted.dwFlags = REO_RESIZABLE;
  if (FAILED(ole->InsertObject(&inserted))) return InsertObjectResult::Failed;
  if (request.flags & IOF_SELECTCREATENEW) {
    // A new object opens in its server so the user can fill it.
    RECT area{};
    GetClientRect(editor.Handle(), &area);
    object->DoVerb(OLEIVERB_SHOW, nullptr, site.Get(), 0, editor.Handle(), &area);
  }
  return InsertObjectResult::Inserted;
}

}  // namespace ui
