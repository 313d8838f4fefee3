#pragma once
// Joins the template pop-up to the parts that open it and feed it keys (the
// executor, the keyboard hook, the tray) and to the paste behind it.
namespace snibbet {

void WireTemplatePopup();

}  // namespace snibbet
