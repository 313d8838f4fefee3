#pragma once
// What the template file operations do to the template table, given the
// file's bytes: load (replace or merge), remove a set, save, the sample
// template. Window-free; templates/template_files.h adds the files and messages.
//
// Each operation works with the record filter off and bound controls quiet,
// and puts both back at its end; a row still in edit is settled first.
#include <optional>
#include <string>
#include <string_view>

#include "templates/template_table.h"
#include "templates/zqt_codec.h"

namespace snibbet {

// Fills the table from a file's bytes; without `append` it is emptied first.
// The records read before a damaged part stay in the table.
ZqtReadStatus LoadTemplatesFromBytes(TemplateTable& table, std::string_view bytes, bool append);

// Deletes from the table each template whose name the file holds.
ZqtReadStatus RemoveTemplatesOfBytes(TemplateTable& table, std::string_view bytes);

// The bytes of the template file for the whole table, filter or not. The table
// is sorted by name on the way, and the template that was current is current
// again afterwards. Nothing (and the table left in its order) when it holds
// more templates than a file can.
std::optional<std::string> TemplatesToBytes(TemplateTable& table);

// The built-in sample: a text template named "test".
inline constexpr std::string_view kSampleTemplateName = "test";
// A row named exactly "test" (case counts), filter or not.
bool HasSampleTemplate(const TemplateTable& table);
void AppendBuiltInSampleTemplate(TemplateTable& table);

}  // namespace snibbet
