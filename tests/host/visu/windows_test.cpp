// The frame's windows: which one is current as windows come and go.
#include "featurestore/KORDocument.h"
#include "visu/KORFrmWindow.h"

#include <gtest/gtest.h>

namespace {
class WindowsTest : public ::testing::Test {
protected:
  KORFrmWindow* Open(const char* iClass) {
    KORBaseUnknown_var root;
    EXPECT_EQ(document->GetRootContainer(root.Out()), S_OK);
    return layout.AddWindow(std::make_unique<KORFrmWindow>(
        iClass, std::make_unique<KORNavigation3DViewer>(manager, root.get())));
  }
  KORSmartPtr<KORDocument> document = KORDocument::Create();
  KORVisManager manager;
  KORFrmLayout layout;
};

TEST_F(WindowsTest, TheLastWindowAddedBeforeADeletedCurrentOneBecomesCurrent) {
  KORFrmWindow* first = Open("KORAsmGraphAnd3DWindow");
  KORFrmWindow* second = Open("KORDrawingWindow");
  KORFrmWindow* third = Open("KORAsmGraphAnd3DWindow");
  EXPECT_EQ(layout.GetCurrentWindow(), third);
  ASSERT_EQ(layout.SetCurrentWindow(first), S_OK);
  ASSERT_EQ(layout.DeleteWindow(second), S_OK);
  EXPECT_EQ(layout.GetCurrentWindow(), first) << "deleting another window keeps the current one";
  ASSERT_EQ(layout.DeleteWindow(first), S_OK);
  EXPECT_EQ(layout.GetCurrentWindow(), third);
  EXPECT_EQ(layout.DeleteWindow(first), E_INVALIDARG) << "already gone";
  EXPECT_EQ(layout.SetCurrentWindow(second), E_INVALIDARG);
  ASSERT_EQ(layout.DeleteWindow(third), S_OK);
  EXPECT_EQ(layout.GetCurrentWindow(), nullptr);
}

} // namespace
