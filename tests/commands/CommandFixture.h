#pragma once
// A frame of its own per test, with the module loaded once per process, a
// fresh document in the frame's editor and the workbench "KORVrcWorkbench"
// loaded into the frame.
#include "featurestore/KORDocument.h"
#include "frame/KORFrame.h"
#include "system/KORModule.h"

#include <gtest/gtest.h>

// A plain object of a late type, to ask for what the module attaches to it.
class KORNamedObject final : public KORImplementationOf<KORNamedObject, KORBaseUnknown> {
public:
  explicit KORNamedObject(const char* iLateType) : KORImplementationOf(iLateType) {}
  template <class I> static KORSmartPtr<I> Query(const char* iLateType) {
    KORBaseUnknown_var object(new KORNamedObject(iLateType));
    return KORQuery<I>(object);
  }
};

class CommandTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    std::string error;
    ASSERT_EQ(KORLoadModule("KORVrConfig", error), S_OK) << error;
  }

  void SetUp() override {
    frame.MessageBoxes().SetEcho(false);
    document = KORDocument::Create();
    frame.Editor().SetDocument(document->Identity());
    KORString error;
    ASSERT_EQ(frame.LoadWorkbench("KORVrcWorkbench", error), S_OK) << error;
  }

  KORFrame frame;
  KORFrameScope scope{frame};
  KORSmartPtr<KORDocument> document;
};

#include "frame/KORDriver.h"
#include "interfaces/KORIVrcConfig.h"
#include "interfaces/KORIVrcFactory.h"
#include "interfaces/KORIVrcGraphicResources.h"
#include "interfaces/KORIVrcIG.h"
#include "interfaces/KORIVrcViewport.h"
#include "interfaces/KORIVrcWindow.h"

#include <sstream>

// Acts on the frame as a person would, one journal line at a time.
class DriverTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    factory = KORQuery<KORIVrcFactory>(document->Identity());
    ASSERT_TRUE(factory);
    ASSERT_EQ(factory->RetrieveConfig(config.Out()), S_OK);
  }

  // Performs each line; the first refused one fails the test.
  void Perform(std::initializer_list<KORString> iLines) {
    for (const KORString& line : iLines) {
      KORString error;
      ASSERT_EQ(driver.Perform(line, error), S_OK) << line << ": " << error;
    }
  }
  // The line must be refused; returns why.
  KORString Refused(const char* iLine) {
    KORString error;
    EXPECT_EQ(driver.Perform(iLine, error), E_FAIL) << iLine << " was accepted";
    return error;
  }
  bool DialogOpen() { return frame.Commands().GetActiveCommand() != nullptr; }

  // An image generator with one window named iWindow (made directly: this is
  // the document the person finds, not what they do).
  KORIVrcWindow_var MakeWindow(const char* iIG, const char* iWindow) {
    KORIVrcIG_var ig;
    KORIVrcViewport_var viewport;
    KORIVrcWindow_var window;
    EXPECT_EQ(factory->CreateIG(iIG, 1920, 1080, ig.Out()), S_OK);
    EXPECT_EQ(factory->CreateViewport(0, 0, 1, 1, viewport.Out()), S_OK);
    EXPECT_EQ(factory->CreateVrcWindow(iWindow, viewport.get(), ig.get(), window.Out()), S_OK);
    return window;
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
    KORIVrcGraphicResources_var resources;
    KORIVrcWindow_var window;
    EXPECT_EQ(config->GetGraphicResources(resources.Out()), S_OK);
    if (FAILED(resources->GetMainWindow(window.Out())))
      window = nullptr;
    return window;
  }

  std::ostringstream shown;
  KORDriver driver{frame, shown};
  KORIVrcFactory_var factory;
  KORIVrcConfig_var config;
};
