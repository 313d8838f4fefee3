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

  std::array<wchar_t, MAX_PATH> file{};
  ComRef<IOleObject> object;
  OLEUIINSERTOBJECTW request{};
  request.cbStruct = sizeof request;
  request.dwFlags = IOF_SELECTCREATENEW | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT | IOF_DISABLEDISPLAYASICON;
  request.hWndOwner = owner ? owner : GetParent(editor.Handle());
  request.lpszFile = file.data();
  request.cchFile = static_cast<UINT>(file.size());
  request.iid = IID_IOleObject;
  request.oleRender = OLERENDER_DRAW;
  request.lpIOleClientSite = site.Get();
  request.lpIStorage = storage.Get();
  request.ppvObj = reinterpret_cast<void**>(object.Out());
  const UINT answer = OleUIInsertObjectW(&request);
  if (answer == OLEUI_CANCEL) return InsertObjectResult::Cancelled;
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
  if (request.dwFlags & IOF_SELECTCREATENEW) {
    // A new object opens in its server so the user can fill it.
    RECT area{};
    GetClientRect(editor.Handle(), &area);
    object->DoVerb(OLEIVERB_SHOW, nullptr, site.Get(), 0, editor.Handle(), &area);
  }
  return InsertObjectResult::Inserted;
}

}  // namespace ui
