// Journal names of elements: KIND:NAME found as the path a pick gives, and
// refused when unknown or ambiguous.
#include "ModelFixture.h"
#include "command/KORIJournalNaming.h"

namespace {
class JournalNamingTest : public ModelTest {
protected:
  KORSmartPtr<KORIJournalNaming> Naming() { return KORQuery<KORIJournalNaming>(document); }
  // The error for iName, or "" when it names exactly one element.
  std::string Refusal(const char* iName) {
    KORPathElement path;
    KORString error;
    return FAILED(Naming()->FindElement(iName, path, error)) ? error : "";
  }
  KORBaseUnknown* Found(const char* iName) {
    KORString error;
    EXPECT_EQ(Naming()->FindElement(iName, path, error), S_OK) << iName << ": " << error;
    return path.GetLastElement();
  }
  std::string NameOf(KORBaseUnknown* iElement) {
    KORUnicodeString name;
    EXPECT_EQ(Naming()->GetJournalName(iElement, name), S_OK);
    return name;
  }
  KORIVrcIG_var IG(const char* iName) {
    KORIVrcIG_var ig;
    EXPECT_EQ(factory->CreateIG(iName, 1920, 1080, ig.Out()), S_OK);
    EXPECT_EQ(Resources()->AddIG(ig), S_OK);
    return ig;
  }
  KORPathElement path;
};

TEST_F(JournalNamingTest, EachKindIsFoundByNameAndNamedBack) {
  KORIVrcIG_var ig = IG(":0.0");
  KORIVrcTrackingStation_var station;
  ASSERT_EQ(factory->CreateTrackingStation(KORVrcTrackingStationType{}, "Lab/North", station.Out()),
            S_OK);
  ASSERT_EQ(Devices()->AddTrackingStation(station), S_OK);
  KORIVrcTracker_var tracker;
  ASSERT_EQ(factory->CreateTracker("3", tracker.Out(), station), S_OK);
  ASSERT_EQ(station->AddTracker(tracker), S_OK);
  KORIVrcConfig_var config = Config();
  KORIVrcHead_var head = Head();
  KORIVrcHandDevice_var hand = Hand();
  const std::pair<const char*, KORBaseUnknown*> cases[] = {
      {"config:Config", config}, {"head:Head", head},           {"hand:Hand", hand},
      {"ig::0.0", ig},           {"station:Lab/North", station}, {"tracker:Lab/North/3", tracker},
  };
  for (const auto& [name, element] : cases) {
    EXPECT_TRUE(Same(Found(name), element)) << name;
    EXPECT_TRUE(Same(path.GetObject(0), document->Identity())) << name << ": the path starts at the document";
    EXPECT_EQ(NameOf(element), name);
  }
  Found("tracker:Lab/North/3");
  ASSERT_GE(path.GetSize(), 4);
  EXPECT_TRUE(Same(path.GetObject(path.GetSize() - 2), station)) << "the station holds the tracker";
  EXPECT_TRUE(Same(path.GetObject(2), config)) << "below the document and its container";
}

TEST_F(JournalNamingTest, UnknownAndAmbiguousNamesAreRefusedWithTheReason) {
  IG("Twin");
  IG("Twin");
  IG("Single");
  const std::pair<const char*, const char*> cases[] = {
      {"ig:Twin", "2 elements of kind ig are named \"Twin\"; the name is ambiguous"},
      {"ig:Nobody", "no ig named \"Nobody\""},
      {"window:Single", "no window named \"Single\""},
      {"robot:Single",
       "unknown kind \"robot\" (config, ig, window, view, head, hand, station, button, tracker)"},
      {"Single", "\"Single\" names no element; write KIND:NAME"},
      {"tracker:Single", "no tracker named \"Single\""},
  };
  for (const auto& [name, error] : cases)
    EXPECT_EQ(Refusal(name), error) << name;
  EXPECT_EQ(Refusal("ig:Single"), "");
}

TEST_F(JournalNamingTest, ADocumentWithoutConfigurationNamesNothingAndGetsNone) {
  EXPECT_EQ(Refusal("config:Config"), "the document holds no configuration");
  EXPECT_TRUE(document->GetCompoundContainer()->Containers().empty())
      << "looking up a name made no configuration container";
}
} // namespace
