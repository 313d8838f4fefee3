#include "dialogs/template_editor_logic.h"

#include <algorithm>
#include <cwctype>

namespace snibbet {
namespace {

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return lower;
}

// Ends `running_` however the command ends.
class RunningCommand {
 public:
  explicit RunningCommand(bool& running) : running_(running), was_(running) { running_ = true; }
  ~RunningCommand() { running_ = was_; }
  RunningCommand(const RunningCommand&) = delete;
  RunningCommand& operator=(const RunningCommand&) = delete;

 private:
  bool& running_;
  bool was_;
};

}  // namespace

bool IsUntitledTemplatesFile(std::wstring_view name) { return name.find_first_of(L"\\/:") == std::wstring_view::npos; }

std::wstring WithTemplatesExtension(std::wstring name) {
  if (name.size() < 4 || Lower(std::wstring_view(name).substr(name.size() - 4)) != L".zqt") name += L".zqt";
  return name;
}

std::wstring FolderOfPath(std::wstring_view path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

bool IsOpenableLink(std::wstring_view link) {
  const std::wstring lower = Lower(link);
  for (std::wstring_view scheme : {L"http:", L"https:", L"mailto:", L"ftp:"}) {
    if (lower.starts_with(scheme) && lower.size() > scheme.size()) return true;
  }
  return false;
}

// ---- the kind caches ----

const std::string& TemplateKindCaches::Cached(std::uint16_t kind) const { return cache_.at(std::min<std::size_t>(kind, 2)); }

void TemplateKindCaches::SwitchKind(TemplateTable& table, std::uint16_t kind) {
  table.Edit();
  const auto current = table.Current();
  if (!current || current->Kind == kind) return;
  cache_.at(std::min<std::size_t>(current->Kind, 2)) = current->Template;
  table.SetKind(kind);
  table.SetTemplate(Cached(kind));
}

// ---- the document ----

TemplateEditorDocument::TemplateEditorDocument(TemplateTable& table, TemplateFileSystem& system)
    : table_(table), system_(system), wasActive_(table.Active()) {
  table_.AddLink(this);
}

TemplateEditorDocument::~TemplateEditorDocument() { table_.RemoveLink(this); }

void TemplateEditorDocument::Shown() { SetState(IsUntitledTemplatesFile(system_.FileName()), false); }

void TemplateEditorDocument::MarkModified() { SetState(untitled_, true); }

void TemplateEditorDocument::StateChanged() {
  if (!running_) MarkModified();
}

void TemplateEditorDocument::TableChanged() {
  // Only the dataset closed or opened counts; a filter or a sort changes nothing of the file.
  const bool active = table_.Active();
  if (active == wasActive_) return;
  wasActive_ = active;
  if (!running_) MarkModified();
}

void TemplateEditorDocument::SetState(bool untitled, bool modified) {
  wasActive_ = table_.Active();
  if (untitled == untitled_ && modified == modified_) return;
  untitled_ = untitled;
  modified_ = modified;
  Changed();
}

void TemplateEditorDocument::Changed() {
  if (onChange) onChange();
}

void TemplateEditorDocument::PostEdit() {
  if (!table_.Editing()) return;
  try {
    table_.Post();
  } catch (const TemplateTableError& error) {
    const std::string what = error.what();
    system_.Warn(std::wstring(what.begin(), what.end()));
  }
}

bool TemplateEditorDocument::Prepare() {
  if (onFlushControls) onFlushControls();
  PostEdit();
  return true;
}

bool TemplateEditorDocument::SettleUnsaved(Answer answer) {
  if (answer == Answer::Cancel) return false;
  if (answer == Answer::Yes) return Save();
  return true;
}

// The file read into a table of its own first, so a damaged one changes nothing.
bool TemplateEditorDocument::Readable(const std::wstring& path) {
  TemplateTable scratch(table_.Folding());
  return system_.Load(scratch, path, false);
}

void TemplateEditorDocument::New() {
  Prepare();
  if (modified_ && !SettleUnsaved(system_.AskSaveChanges())) return;
  {
    const RunningCommand running(running_);
    table_.Close();
    table_.Open();
    system_.SetFileName(kUntitledTemplatesFileName);
    // The setter found no file of that name; whatever it did, the new file starts empty.
    if (table_.RowCount() > 0) {
      table_.Close();
      table_.Open();
    }
  }
  SetState(true, true);
  Changed();
}

void TemplateEditorDocument::Open() {
  Prepare();
  if (modified_ && !SettleUnsaved(system_.AskSaveChanges())) return;
  const std::optional<std::wstring> path = system_.ChooseFileToOpen(FolderOfPath(system_.FileName()));
  if (!path || !Readable(*path)) return;
  {
    const RunningCommand running(running_);
    system_.SetFileName(*path);
  }
  SetState(false, false);
  Changed();
}

bool TemplateEditorDocument::Save() {
  if (untitled_ || IsUntitledTemplatesFile(system_.FileName())) return SaveAs();
  Prepare();
  bool saved = false;
  {
    const RunningCommand running(running_);
    saved = system_.Save(table_, system_.FileName());
  }
  if (saved) SetState(false, false);
  return saved;
}

bool TemplateEditorDocument::SaveAs() {
  Prepare();
  const std::wstring current = system_.FileName();
  const std::optional<std::wstring> chosen =
      system_.ChooseFileToSave(FolderOfPath(IsUntitledTemplatesFile(current) ? system_.TitledFileName() : current));
  if (!chosen) return false;
  const std::wstring path = WithTemplatesExtension(*chosen);
  {
    const RunningCommand running(running_);
    // Written beside the old file and moved over it: a failed save leaves both as they were.
    if (!system_.Save(table_, path)) return false;
    const auto record = table_.Current();
    const std::string name = record ? std::string(record->Name) : std::string();
    system_.SetFileName(path);  // reloads what was just written
    if (!name.empty()) table_.LocateName(name);
  }
  SetState(false, false);
  Changed();
  return true;
}

void TemplateEditorDocument::Import() {
  Prepare();
  if (modified_ && !SettleUnsaved(system_.AskSaveChanges())) return;
  const std::optional<std::wstring> path = system_.ChooseFileToImport(system_.ImportFolder());
  if (!path || !Readable(*path)) return;
  {
    const RunningCommand running(running_);
    system_.Load(table_, *path, true);
  }
  MarkModified();
}

void TemplateEditorDocument::Mail() {
  Prepare();
  const std::wstring path = system_.FileName();
  if (!IsUntitledTemplatesFile(path) && system_.FileExists(path)) system_.Mail(path);
}

bool TemplateEditorDocument::CanClose() {
  if (onFlushControls) onFlushControls();
  if (!modified_) return true;
  switch (system_.AskSaveChangesOnClose()) {
    case Answer::Yes:
      Save();
      return !modified_;
    case Answer::No: {
      const RunningCommand running(running_);
      // Emptied first: with no file to read back, no thrown-away template may stay.
      table_.Close();
      table_.Open();
      if (untitled_) system_.SetFileName(system_.TitledFileName());
      else system_.Load(table_, system_.FileName(), false);
      modified_ = false;
      return true;
    }
    case Answer::Cancel:
    default:
      return false;
  }
}

}  // namespace snibbet
