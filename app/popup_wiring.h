#pragma once
// Joins the template pop-up to the tray that opens it and to the setting
// that reloads its templates.
namespace snibbet {

void WireTemplatePopup();

}  // namespace snibbet
