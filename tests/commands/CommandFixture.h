#pragma once
// The model tests' fixture (module loaded once, a fresh document in a frame
// of its own per test) with the workbench "KORVrcWorkbench" loaded into the
// frame.
#include "ModelFixture.h"

class CommandTest : public ModelTest {
protected:
  void SetUp() override {
    ModelTest::SetUp();
    KORString error;
    ASSERT_EQ(frame.LoadWorkbench("KORVrcWorkbench", error), S_OK) << error;
  }
};

#include "ConfigBuilder.h"
#include "frame/KORDriver.h"

#include <sstream>

using Names = std::vector<KORUnicodeString>;

// Acts on the frame as a person would, one journal line at a time.
class DriverTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    config = Config();
    ASSERT_TRUE(config);
    build = ConfigBuilder(factory);
  }

  // Performs each line; the first refused one fails the test.
  void Perform(const std::vector<KORString>& iLines) {
    for (const KORString& line : iLines) {
      KORString error;
      ASSERT_EQ(driver.Perform(line, error), S_OK) << line << ": " << error;
    }
  }
  // Whether the line is performed; a refusal is no failure.
  bool Accepted(const KORString& iLine) {
    KORString error;
    return SUCCEEDED(driver.Perform(iLine, error));
  }
  // The line must be refused; returns why.
  KORString Refused(const char* iLine) {
    KORString error;
    EXPECT_EQ(driver.Perform(iLine, error), E_FAIL) << iLine << " was accepted";
    return error;
  }
  // The message shown must hold iText, which may hold quotes.
  void ExpectMessage(const KORString& iText) {
    KORString quoted; // as a journal argument
    for (char character : iText)
      quoted += character == '"' ? KORString("\\\"") : KORString(1, character);
    Perform({"expect-message \"" + quoted + "\""});
  }
  bool DialogOpen() { return frame.Commands().GetActiveCommand() != nullptr; }
  // The frame takes back on Cancel whatever a command wrote; without its
  // transactions, what Cancel gives back is the command's own work.
  void WithoutTransactions() { frame.Commands().SetObserver(nullptr); }

  // Elements made directly: this is the document the person finds, not what
  // they do. An image generator, then one with a window named iWindow.
  KORIVrcIG_var MakeIG(const char* iName) { return build.IG(iName, 1920, 1080); }
  KORIVrcWindow_var MakeWindow(const char* iIG, const char* iWindow) {
    KORIVrcIG_var ig = MakeIG(iIG);
    KORIVrcViewport_var viewport;
    KORIVrcWindow_var window;
    EXPECT_EQ(factory->CreateViewport(0, 0, 1, 1, viewport.Out()), S_OK);
    EXPECT_EQ(factory->CreateVrcWindow(iWindow, viewport.get(), ig.get(), window.Out()), S_OK);
    return window;
  }
  // The names of iElements, in their order.
  template <class I> static Names NamesOf(const std::vector<KORSmartPtr<I>>& iElements) {
    Names names;
    for (const KORSmartPtr<I>& element : iElements) {
      KORUnicodeString name;
      EXPECT_EQ(element->GetName(name), S_OK);
      names.push_back(name);
    }
    return names;
  }
  std::vector<KORIVrcIG_var> IGs() {
    return Listed<KORIVrcIG>(Resources(), &KORIVrcGraphicResources::GetIGs);
  }
  Names IGNames() { return NamesOf(IGs()); }
  static void Place(KORBaseUnknown* iElement, const KORMathTransformation& iLocation) {
    ASSERT_EQ(KORQuery<KORIVrcTrackedElement>(iElement)->SetLocation(iLocation), S_OK);
  }
  static KORMathTransformation LocationOf(KORBaseUnknown* iElement) {
    KORMathTransformation location;
    EXPECT_EQ(KORQuery<KORIVrcTrackedElement>(iElement)->GetLocation(location), S_OK);
    return location;
  }
  KORUnicodeString ConfigName() {
    KORUnicodeString name;
    EXPECT_EQ(config->GetName(name), S_OK);
    return name;
  }
  // The main window's name; empty without main window.
  KORUnicodeString MainWindowName() {
    KORUnicodeString name;
    if (KORIVrcWindow_var window = MainWindow()) {
      EXPECT_EQ(window->GetName(name), S_OK);
    }
    return name;
  }
  KORIVrcWindow_var MainWindow() {
    KORIVrcWindow_var window;
    if (FAILED(Resources()->GetMainWindow(window.Out())))
      window = nullptr;
    return window;
  }

  std::ostringstream shown;
  KORDriver driver{frame, shown};
  KORIVrcConfig_var config;
  ConfigBuilder build{nullptr}; // on the factory, in SetUp
};
