// Which rendering an export takes for a window that several renderings show:
// the first of the configuration's list, as the window's own getters answer.
#include "ExportFixture.h"
#include "interfaces/KORIVrcXML.h"

#include <pugixml.hpp>

#include <string>

namespace {

std::string IdOf(KORBaseUnknown* iElement) {
  KORVrcIdText id;
  return WriteIdText(iElement, id) ? std::string(id.data(), id.size()) : std::string();
}

class ExportRenderingsTest : public ExportTest {
protected:
  // The window element named iName in the exported document.
  pugi::xml_node WindowElement(pugi::xml_document& ioDocument, const std::string& iName) {
    KORIVrcXML_var xml = KORQuery<KORIVrcXML>(config);
    EXPECT_TRUE(xml);
    KORUnicodeString text;
    EXPECT_EQ(xml->CreateXMLConfigFile(text, messages), S_OK) << messages;
    EXPECT_TRUE(ioDocument.load_string(text.c_str())) << text;
    return ioDocument.select_node(("//Window[@Name='" + iName + "']").c_str()).node();
  }
};

TEST_F(ExportRenderingsTest, WindowShownTwiceTakesTheFirstListedRendering) {
  KORIVrcIG_var ig = build.IG("IG1");
  auto front = build.Screen("Front", {0, 1500, 1500}, {0, 1500, -1500}, {3000, 1500, -1500});
  auto floor = build.Screen("Floor", {0, 0, 0}, {0, 3000, 0}, {3000, 3000, 0});
  KORIVrcWindow_var main = build.Window(ig, "Main", {0, 0, 1, 1}, "Front");
  build.MainWindow(main);
  KORIVrcWindow_var side = build.Window(ig, "Side", {0, 0, 1, 1}, "Front", KORVrcRenderingLeft);
  build.Rendering("Side2", KORQuery<KORIVrcView>(floor).get(), side, KORVrcRenderingRight);

  struct Case {
    const char* order;
    KORBaseUnknown* view;
    const char* mode;
  };
  // Moving the first rendering to the end of the list makes the other one first.
  for (const Case& expected :
       {Case{"as made", front.get(), "1"}, Case{"first moved last", floor.get(), "2"}}) {
    SCOPED_TRACE(expected.order);
    KORIVrcView_var modelView;
    ASSERT_EQ(side->GetView(modelView.Out()), S_OK);
    EXPECT_EQ(IdOf(modelView), IdOf(expected.view));
    pugi::xml_document document;
    pugi::xml_node window = WindowElement(document, "Side");
    ASSERT_TRUE(window);
    EXPECT_EQ(std::string(window.attribute("View").value()), IdOf(expected.view));
    EXPECT_EQ(std::string(window.child("RenderingSpec").attribute("Rendering").value()),
              expected.mode);

    KORIVrcRendering_var first;
    ASSERT_EQ(side->GetRendering(first.Out()), S_OK);
    ASSERT_EQ(config->RemoveRendering(first), S_OK);
    ASSERT_EQ(config->AddRendering(first), S_OK);
  }
}

} // namespace
