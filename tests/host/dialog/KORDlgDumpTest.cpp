#include "dialog/KORDlgDump.h"
#include "command/KORCommandManager.h"
#include "dialog/KORDlgNotify.h"
#include "dialog/KORDlgWidgets.h"

#include <gtest/gtest.h>

namespace {
TEST(DialogDump, WritesEachWidgetWithKindValueVisibilityAndSensitivity) {
  KORCommandManager manager;
  auto* dialog = new KORDlgDialog(manager.GetMainWindow(), "KORVrcIGDlg", KORDlgOK | KORDlgCancel);
  dialog->SetTitle("Image generator");
  dialog->SetVisibility(true);
  dialog->SetButtonSensitivity(KORDlgOK, false);
  auto* name = new KORDlgEditor(dialog, "EditorDisplay");
  name->SetText(":0.0");
  auto* width = new KORDlgSpinner(dialog, "SpinnerWidth");
  width->SetRange(800, 10000, 9200);
  width->SetValue(1920);
  auto* mode = new KORDlgCombo(dialog, "ModeCombo");
  mode->SetLine("Mono");
  auto* main = new KORDlgCheckButton(dialog, "MainWindowCheck");
  main->SetState(true);
  main->SetSensitivity(false);
  auto* tabs = new KORDlgTabContainer(dialog, "Tabs");
  auto* page = new KORDlgTabPage(tabs, "PageA");
  page->SetVisibility(false);

  const char* expected = R"({
 "buttons": [
  {"name": "OK", "sensitive": false},
  {"name": "Cancel", "sensitive": true}
 ],
 "kind": "dialog",
 "name": "KORVrcIGDlg",
 "sensitive": true,
 "title": "Image generator",
 "value": null,
 "visible": true,
 "widgets": [
  {"kind": "editor", "name": "EditorDisplay", "sensitive": true, "title": "EditorDisplay",
   "value": ":0.0", "visible": true},
  {"kind": "spinner", "name": "SpinnerWidth", "sensitive": true, "title": "SpinnerWidth",
   "value": 1920.0, "visible": true},
  {"kind": "combo", "name": "ModeCombo", "sensitive": true, "title": "ModeCombo",
   "value": null, "visible": true},
  {"kind": "check", "name": "MainWindowCheck", "sensitive": false, "title": "MainWindowCheck",
   "value": true, "visible": true},
  {"kind": "tabcontainer", "name": "Tabs", "sensitive": true, "title": "Tabs",
   "value": "PageA", "visible": true,
   "widgets": [
    {"kind": "tabpage", "name": "PageA", "sensitive": true, "title": "PageA",
     "value": null, "visible": false}
   ]}
 ]
})";
  // Compare as JSON values: the layout of blanks is not part of the format.
  auto parsed = [](const std::string& iText) {
    std::string compact;
    bool inString = false;
    for (char c : iText) {
      if (c == '"')
        inString = !inString;
      if (inString || (c != ' ' && c != '\n'))
        compact += c;
    }
    return compact;
  };
  EXPECT_EQ(parsed(KORDlgDumpJSON(*dialog, -1)), parsed(expected));
}

TEST(DialogDump, ShownWindowsAreWrittenOnceEachWithoutTheirNestedWindows) {
  KORCommandManager manager;
  auto* dialog = new KORDlgDialog(manager.GetMainWindow(), "ExportDlg", KORDlgOK);
  dialog->SetVisibility(true);
  auto* check = new KORDlgCheckButton(dialog, "AddConfigChk");
  check->SetState(false);
  auto* box = new KORDlgNotify(dialog, "OverwriteNfy", KORDlgNotifyStyle::Question,
                               KORDlgAnswerYes | KORDlgAnswerNo);
  box->Display("Overwrite the file?", "Question");
  new KORDlgDialog(manager.GetMainWindow(), "NotShownDlg");

  const std::string expected =
      R"({"windows":[)"
      R"({"buttons":[{"name":"OK","sensitive":true}],"kind":"dialog","name":"ExportDlg",)"
      R"("sensitive":true,"title":"ExportDlg","value":null,"visible":true,)"
      R"("widgets":[{"kind":"check","name":"AddConfigChk","sensitive":true,)"
      R"("title":"AddConfigChk","value":false,"visible":true}]},)"
      R"({"kind":"messagebox","name":"OverwriteNfy","sensitive":true,"title":"Question",)"
      R"("value":"Overwrite the file?","visible":true}]})";
  EXPECT_EQ(KORDlgDumpShownWindowsJSON(*manager.GetMainWindow(), -1), expected);
}
} // namespace
