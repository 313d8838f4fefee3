#pragma once
// The template file operations on the template table, with their files and
// messages (Windows). The pop-up, the editor, the settings window and the
// first-run wizard reach the current template file through these, each
// naming the file (the setting TemplatesFileName) itself.
//
// Failures are reported in the error box (caption text 9) and give false;
// nothing is thrown. A missing file is no failure: false, no message.
#include <functional>
#include <string>

#include "templates/template_table.h"

namespace snibbet {

std::wstring TemplatesFolder();          // the program folder's "Templates\"
std::wstring SampleTemplatesFileName();  // "Templates\Test.zqt" in the program folder

// Writes the whole table to the file, sorting the table by name. The old file is replaced only once the
// new one is completely written; a failed save leaves it as it was. A table of
// more than 65535 templates is refused with a message, the file untouched.
bool SaveTemplatesToFile(TemplateTable& table, const std::wstring& path);

// Fills the table from a file; without `append` the table is emptied first, unless there is no such file. A name
// without a folder (the editor's untitled "New") never names a file here.
bool LoadTemplatesFromFile(TemplateTable& table, const std::wstring& path, bool append);

// Deletes from the table each template named in the file (taking a set out).
bool RemoveTemplatesOfFile(TemplateTable& table, const std::wstring& path);

// Unless the open table holds a template named exactly "test": merges the
// sample set file when it exists, else appends the built-in sample. Nothing
// is written to disk.
void CreateSampleTemplates(TemplateTable& table);
void CreateSampleTemplates(TemplateTable& table, const std::wstring& sampleFile);

// Where the operations' error texts go; an empty sink restores the error box.
using TemplateErrorSink = std::function<void(const std::wstring& text)>;
void SetTemplateErrorSink(TemplateErrorSink sink);

}  // namespace snibbet
