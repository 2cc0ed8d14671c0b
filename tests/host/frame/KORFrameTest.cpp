#include "../system/KORSystemTestSupport.h"
#include "featurestore/KORDocument.h"
#include "frame/KORFrame.h"
#include "system/KORResource.h"

#include <thread>

namespace {

std::vector<KORUnicodeString> TextsShown(KORFrame& iFrame) {
  std::vector<KORUnicodeString> texts;
  for (const KORMessageBoxRecord& record : iFrame.MessageBoxes().Shown())
    texts.push_back(record.text);
  return texts;
}

class FrameTest : public ::testing::Test {
protected:
  FrameTest() {
    first.MessageBoxes().SetEcho(false);
    second.MessageBoxes().SetEcho(false);
  }
  KORFrame first;
  KORFrame second;
};

TEST_F(FrameTest, ScopesNestAndEachGivesThePreviousFrameAndItsManagersBack) {
  EXPECT_EQ(KORFrame::Current(), nullptr);
  EXPECT_EQ(KORVisManager::GetVisManager(), nullptr);
  {
    KORFrameScope outer(first);
    EXPECT_EQ(KORFrame::Current(), &first);
    EXPECT_EQ(KORVisManager::GetVisManager(), &first.VisManager());
    EXPECT_EQ(KORFrmLayout::GetCurrentLayout(), &first.Layout());
    {
      KORFrameScope inner(second);
      EXPECT_EQ(KORFrame::Current(), &second);
      EXPECT_EQ(KORGetFrameServices(), &second);
      EXPECT_EQ(KORVisManager::GetVisManager(), &second.VisManager());
      EXPECT_EQ(KORFrmLayout::GetCurrentLayout(), &second.Layout());
    }
    EXPECT_EQ(KORFrame::Current(), &first);
    EXPECT_EQ(KORFrmLayout::GetCurrentLayout(), &first.Layout());
  }
  EXPECT_EQ(KORFrame::Current(), nullptr);
  EXPECT_EQ(KORGetFrameServices(), nullptr);
  EXPECT_EQ(KORFrmLayout::GetCurrentLayout(), nullptr);
}

TEST_F(FrameTest, MessagesGoToTheCurrentFrameOnlyOrToStandardError) {
  {
    KORFrameScope scope(first);
    KORShowUserMessage("Id", KORUserMessageStyle::Error, "Title", "for the first");
    KORFrameScope inner(second);
    KORShowUserMessage("Id", KORUserMessageStyle::Warning, "Title", "for the second");
  }
  EXPECT_EQ(TextsShown(first), std::vector<KORUnicodeString>{"for the first"});
  EXPECT_EQ(TextsShown(second), std::vector<KORUnicodeString>{"for the second"});
  EXPECT_EQ(second.MessageBoxes().Shown()[0].style, KORMessageBoxStyle::Warning);

  // Without a frame, a message is written to standard error.
  testing::internal::CaptureStderr();
  KORShowUserMessage("Id", KORUserMessageStyle::Information, "Export", "nobody listens");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "[information] Export: nobody listens\n");
}

TEST_F(FrameTest, AFrameCurrentOnOneThreadIsNotCurrentOnAnother) {
  KORFrameScope scope(first);
  KORFrame* seenElsewhere = &first;
  std::thread([&] { seenElsewhere = KORFrame::Current(); }).join();
  EXPECT_EQ(seenElsewhere, nullptr);
  EXPECT_EQ(KORFrame::Current(), &first);
}

namespace {
// A viewpoint that ends with its window, as the schematic does.
class WindowBoundViewpoint : public KOR2DViewpoint {
public:
  WindowBoundViewpoint(KORFrmWindow& iWindow, int& ioAlive) : _alive(ioAlive) {
    ++_alive;
    iWindow.GetViewer()->GetSupport().AddViewpoint(this);
    iWindow.GetDispatcher().AddListener([this](const KORNotification&) { Release(); });
  }

protected:
  ~WindowBoundViewpoint() override { --_alive; }

private:
  int& _alive;
};
} // namespace

TEST(FrameLifetimeTest, AFrameEndsTheViewpointsOfItsWindowsBeforeItsManager) {
  int alive = 0;
  {
    KORFrame frame;
    KORSmartPtr<KORDocument> document = KORDocument::Create();
    KORBaseUnknown_var root;
    ASSERT_EQ(document->GetRootContainer(root.Out()), S_OK);
    KORFrmWindow* window = frame.Layout().AddWindow(std::make_unique<KORFrmWindow>(
        KORFrmWindow::Graph3DWindowClass,
        std::make_unique<KORNavigation3DViewer>(frame.VisManager(), root.get())));
    new WindowBoundViewpoint(*window, alive);
    ASSERT_EQ(alive, 1);
  }
  EXPECT_EQ(alive, 0) << "the viewpoint outlived its frame";
}

// Each test writes its catalogs into its own resource folder.
class FrameCatalogTest : public FrameTest {
protected:
  FrameCatalogTest() : _resourcePath("KOR_RESOURCE_PATH", _folder.Path().c_str()) {
    KORResetResourceFolders();
  }
  ~FrameCatalogTest() override { KORResetResourceFolders(); }

  void WriteCatalog(const std::string& iText) {
    _folder.WriteFile("KORFrameTestCatalog.KORmsg", "Greeting = \"" + iText + "\"\n");
  }
  // The greeting as the current frame (or no frame) finds it; the error when
  // the catalog cannot be found.
  static KORUnicodeString Greeting() {
    std::shared_ptr<const KORMsgCatalog> catalog;
    KORUnicodeString text;
    if (FAILED(KORFindMsgCatalog("KORFrameTestCatalog", catalog, text)))
      return "failed: " + text;
    EXPECT_EQ(catalog->BuildMessage("Greeting", text), S_OK) << text;
    return text;
  }

  KORTemporaryDirectory _folder;
  KOREnvironmentOverride _resourcePath;
};

TEST_F(FrameCatalogTest, AFrameReadsACatalogOnceAndANewFrameOrNoFrameReadsItAgain) {
  WriteCatalog("hello");
  {
    KORFrameScope scope(first);
    EXPECT_EQ(Greeting(), "hello");
    WriteCatalog("bonjour");
    EXPECT_EQ(Greeting(), "hello") << "the frame read the catalog from disk again";
    KORFrameScope inner(second);
    EXPECT_EQ(Greeting(), "bonjour");
  }
  WriteCatalog("hallo");
  EXPECT_EQ(Greeting(), "hallo") << "without a frame every lookup reads the file";
}

TEST_F(FrameCatalogTest, AMissingCatalogIsLookedForAgainNextTime) {
  KORFrameScope scope(first);
  const KORUnicodeString missing = Greeting();
  EXPECT_NE(missing.find("KORFrameTestCatalog.KORmsg"), std::string::npos) << missing;
  WriteCatalog("found");
  EXPECT_EQ(Greeting(), "found");
}

TEST_F(FrameCatalogTest, ACatalogOutlivesTheFrameThatLoadedIt) {
  WriteCatalog("kept");
  std::shared_ptr<const KORMsgCatalog> catalog;
  {
    auto frame = std::make_unique<KORFrame>();
    KORUnicodeString error;
    ASSERT_EQ(frame->MsgCatalogs().FindCatalog("KORFrameTestCatalog", catalog, error), S_OK)
        << error;
  }
  KORUnicodeString text;
  EXPECT_EQ(catalog->BuildMessage("Greeting", text), S_OK);
  EXPECT_EQ(text, "kept");
}

} // namespace
