// The order of a template paste and what it does to the user's clipboard,
// over a recording system.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "templates/template_paste.h"

namespace snibbet {
namespace {

using Log = std::vector<std::string>;

class RecordingSystem : public PasteSystem, public ClipboardPasteSteps {
 public:
  bool hadData = true;
  bool userClipboardKept = true;
  bool clipboardTakes = true;
  bool pictureLoaded = true;
  bool throwInPaste = false;
  bool targetInFront = true;
  std::function<void()> duringSave;  // the save's wait lets the world move on
  std::wstring preview;  // the rich-text preview's plain text, handed over with the request
  std::string rtfPut;
  std::wstring plainPut;
  Log log;

  bool MonitorPresent() override { return true; }
  bool HoldsAnything() override { return hadData; }
  bool SaveBeforePaste() override {
    log.push_back("save");
    if (duringSave) duringSave();
    return userClipboardKept;
  }
  bool UserClipboardKept() override { return userClipboardKept; }
  void RestoreAfterPaste() override { log.push_back("restore"); }
  void SetMonitoring(bool on) override { log.push_back(on ? "monitor on" : "monitor off"); }
  std::wstring Text() override { return plainPut; }
  bool PutText(std::wstring_view) override { return clipboardTakes; }
  bool Clear() override { return true; }
  void ResetClipboardChanged() override {}
  void WaitForClipboardChange() override {}
  void SendPasteKeys() override {
    if (throwInPaste) throw std::runtime_error("target gone");
    log.push_back("ctrl+v");
  }
  void BeginOwnInput() override { log.push_back("own input"); }
  void EndOwnInput() override { log.push_back("own input end"); }
  void ResetKeyHistory() override { log.push_back("history reset"); }
  bool TargetInFront() override { return targetInFront; }
  void TypeKey(std::uint8_t vk) override { log.push_back("key " + std::to_string(vk)); }
  void Beep() override { log.push_back("beep"); }
  void ExpandAndPaste(std::string_view text) override {
    if (throwInPaste) throw std::runtime_error("target gone");
    log.push_back("expand " + std::string(text));
  }
  bool PutRichText(std::wstring_view plain, std::string_view rtf) override {
    plainPut = plain;
    rtfPut = rtf;
    log.push_back("put rich");
    return clipboardTakes;
  }
  void PlaceCaretAtMarker(std::wstring_view, bool isRichText) override {
    log.push_back(isRichText ? "caret rich" : "caret");
  }
  bool WizardIsForeground() override { return false; }
  bool PutPicture() override {
    log.push_back("put picture");
    return pictureLoaded && clipboardTakes;
  }
};

TemplateRecord Record(std::uint16_t kind, std::string content) {
  TemplateRecord record;
  record.Name = "x";
  record.Kind = kind;
  record.Template = std::move(content);
  return record;
}

// The pop-up's request, with the preview's text the system was given.
void Paste(TemplateRecord record, std::wstring search, RecordingSystem& system) {
  PasteTemplate({std::move(record), std::move(search), system.preview}, system, system);
}

const std::string kRtf = "{\\rtf1\\ansi Hello, |world\\par\r\n}\r\n";

TEST(TemplatePaste, TextErasesTheSearchThenPastesAndPutsTheClipboardBack) {
  RecordingSystem system;
  Paste(Record(kTemplateText, "Hello"), L"he\U0001F600", system);
  EXPECT_EQ(system.log, (Log{"save", "monitor off", "own input", "key 8", "key 8", "key 8", "expand Hello", "restore",
                             "own input end", "monitor on", "history reset"}));
}

TEST(TemplatePaste, AnEmptyClipboardIsLeftHoldingTheTemplate) {
  RecordingSystem system;
  system.hadData = false;
  Paste(Record(kTemplateText, "Hello"), L"", system);
  EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "restore"), 0);
}

TEST(TemplatePaste, AUserClipboardThatCouldNotBeKeptStopsThePasteBeforeAnyKey) {
  for (const std::uint16_t kind : {kTemplateText, kTemplateRichText, kTemplatePicture}) {
    RecordingSystem system;
    system.userClipboardKept = false;
    system.preview = L"Hello, |world";
    Paste(Record(kind, kRtf), L"he", system);
    // No Backspace, nothing put, no Ctrl+V and no restore of a snapshot that
    // does not exist; neither bracket was opened, so none is left open.
    EXPECT_EQ(system.log, (Log{"save", "beep", "history reset"})) << kind;
    EXPECT_TRUE(system.plainPut.empty()) << kind;
  }
}

TEST(TemplatePaste, AnEmptyTemplatePastesNothing) {
  RecordingSystem system;
  Paste(Record(kTemplateText, ""), L"he", system);
  EXPECT_TRUE(system.log.empty());
}

TEST(TemplatePaste, RichTextWithAMarkerEndsInTheProbe) {
  RecordingSystem system;
  system.preview = L"Hello, |world";
  Paste(Record(kTemplateRichText, kRtf), L"", system);
  EXPECT_EQ(system.plainPut, L"Hello, |world_");
  EXPECT_EQ(system.rtfPut, "{\\rtf1\\ansi Hello, |world_}");
  // Space and Backspace first, so that the target's undo step starts here.
  EXPECT_EQ(system.log, (Log{"save", "monitor off", "own input", "key 32", "key 8", "put rich", "ctrl+v", "caret rich",
                             "restore", "own input end", "monitor on", "history reset"}));
}

TEST(TemplatePaste, RichTextWithoutAMarkerGetsNoProbe) {
  RecordingSystem system;
  system.preview = L"Hello";
  Paste(Record(kTemplateRichText, "{\\rtf1 Hello\\par\r\n}  \r\n"), L"", system);
  EXPECT_EQ(system.plainPut, L"Hello");
  EXPECT_EQ(system.rtfPut, "{\\rtf1 Hello}");
  EXPECT_EQ(PasteRtf("{\\rtf1 Hello}", true), "{\\rtf1 Hello}");  // no final paragraph: unchanged
  EXPECT_EQ(PasteRtf(" \r\n", false), "");
}

TEST(TemplatePaste, WhatTheClipboardRefusedIsNeverPasted) {
  for (const std::uint16_t kind : {kTemplateRichText, kTemplatePicture}) {
    RecordingSystem system;
    system.clipboardTakes = false;
    Paste(Record(kind, kRtf), L"", system);
    EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "ctrl+v"), 0) << kind;
    EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "beep"), 1) << kind;
    EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "restore"), 1) << kind;
  }
  RecordingSystem missing;
  missing.pictureLoaded = false;
  Paste(Record(kTemplatePicture, "C:\\gone.png"), L"", missing);
  EXPECT_EQ(std::count(missing.log.begin(), missing.log.end(), "ctrl+v"), 0);
}

TEST(TemplatePaste, AnErrorStillPutsTheUsersClipboardBack) {
  for (const std::uint16_t kind : {kTemplateText, kTemplatePicture}) {
    RecordingSystem system;
    system.throwInPaste = true;
    EXPECT_THROW(Paste(Record(kind, "Hello"), L"h", system), std::runtime_error);
    // The error goes on to the error report; the clipboard, the monitor and
    // the key-state model are back first, and the typed word stays known.
    EXPECT_EQ(std::vector<std::string>(system.log.end() - 3, system.log.end()),
              (Log{"own input end", "restore", "monitor on"}))
        << kind;
    EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "history reset"), 0);
  }
}

// The pop-up's target closed and another window came to the front: its text
// must neither lose the typed word's length nor get the template, and the
// user's clipboard is not touched, or comes back when the save had begun.
TEST(TemplatePaste, ATargetNoLongerInFrontGetsNoKeyAndTheClipboardStaysTheUsers) {
  for (const std::uint16_t kind : {kTemplateText, kTemplateRichText, kTemplatePicture}) {
    RecordingSystem goneBefore;
    goneBefore.targetInFront = false;
    Paste(Record(kind, kRtf), L"hell", goneBefore);
    EXPECT_EQ(goneBefore.log, (Log{"history reset"})) << kind;

    RecordingSystem goneDuringSave;
    goneDuringSave.preview = L"Hello, |world";
    goneDuringSave.duringSave = [&] { goneDuringSave.targetInFront = false; };
    Paste(Record(kind, kRtf), L"hell", goneDuringSave);
    // The held keys and the saved clipboard come back; nothing typed or put.
    EXPECT_EQ(goneDuringSave.log, (Log{"save", "monitor off", "own input", "restore", "own input end", "monitor on",
                                       "history reset"}))
        << kind;
  }
}

TEST(TemplatePaste, AnUnknownKindPastesNothingButCleansUp) {
  RecordingSystem system;
  Paste(Record(7, "Hello"), L"", system);
  EXPECT_EQ(system.log, (Log{"save", "monitor off", "own input", "restore", "own input end", "monitor on",
                             "history reset"}));
}

}  // namespace
}  // namespace snibbet
