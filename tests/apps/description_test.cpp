// The description reader on its own: display numbers, role and button-manager
// rules and the paths its errors name, without the model (the
// recommended-offset question is answered by the test).
#include "KORVrcDescription.h"

#include <gtest/gtest.h>

namespace {

// Recommends an offset for heads only.
bool HeadsOnly(KORVrcTrackingStationType, KORVrcTracks iTracks, KORVrcHeadType,
               KORVrcHandDeviceType) {
  return iTracks == KORVrcTracks::Head;
}

std::string Read(const std::string& iMembers, KORVrcDescription* oDescription = nullptr) {
  KORVrcDescription description;
  std::string error;
  const bool read =
      KORVrcReadDescription(R"({"format": "installation-description/1", )" + iMembers + "}",
                            HeadsOnly, description, error);
  if (oDescription)
    *oDescription = description;
  return read ? "ok" : error;
}

TEST(DescriptionTest, EveryDisplayAndScreenNumberPassesTheNameRule) {
  // ":4.1" to ":15.1" were refused: 4.1 - 4 falls below 0.1 by more than the machine epsilon.
  for (int display = 0; display < 1000; ++display)
    for (const char* screen : {"0", "1", "3", "9", "10", "12", "25", "99", "100"}) {
      const std::string name = ":" + std::to_string(display) + "." + screen;
      EXPECT_TRUE(KORVrcIsDisplayName(name)) << name;
      EXPECT_TRUE(KORVrcIsDisplayName("host" + name)) << name;
    }
  for (const char* refused : {":4.05", ":15.09", ":1000.01"})
    EXPECT_FALSE(KORVrcIsDisplayName(refused)) << refused;
}

TEST(DescriptionTest, RoleRulesLookAtTracksWhereverItIs) {
  const std::string station = R"("trackingStations": [{"name": "S", "daemon": "d", "trackers": )";
  EXPECT_EQ(Read(station + R"([{"picking": true, "number": 0, "tracks": "hand"}]}])"), "ok");
  EXPECT_EQ(Read(station + R"([{"picking": true, "number": 0}]}])"),
            "trackingStations[0].trackers[0].picking: only a tracker with \"tracks\": \"hand\" "
            "can be the picking tracker");
  // An invalid "tracks" is reported itself rather than through the role it breaks.
  EXPECT_EQ(Read(station + R"([{"viewpoint": true, "number": 0, "tracks": "eyes"}]}])"),
            "trackingStations[0].trackers[0].tracks: must be one of \"none\", \"head\", \"hand\"");
  EXPECT_EQ(Read(station + R"([{"number": 0, "tracks": "head", "offset": "good"}]}])"),
            "trackingStations[0].trackers[0].offset: must be a placement or \"best\"");
}

TEST(DescriptionTest, ButtonManagerIsUniqueOverTrackersAndButtonDevices) {
  EXPECT_EQ(
      Read(
          R"("trackingStations": [{"name": "S", "daemon": "d", "trackers": [{"number": 0, "buttonManager": true}]}],
              "buttonDevices": [{"name": "B", "daemon": "d", "buttonManager": true}])"),
      "buttonDevices[0].buttonManager: at most one button manager is allowed (already "
      "trackingStations[0].trackers[0].buttonManager)");
  KORVrcDescription description;
  ASSERT_EQ(Read(R"("buttonDevices": [{"name": "B", "daemon": "d", "buttonManager": false}])",
                 &description),
            "ok");
  EXPECT_FALSE(description.buttonDevices[0].buttonManager);
}

TEST(DescriptionTest, DuplicateMemberPathsPointIntoArrays) {
  EXPECT_EQ(
      Read(R"("views": [{"name": "A", "camera": {"hfov": 1, "vfov": 1, "hshift": 0, "vshift": 0}},
                              {"name": "B", "screen": {"upperLeft": [0, 0, 0], "upperLeft": [1, 1, 1]}}])"),
      "views[1].screen.upperLeft: duplicate member");
  EXPECT_EQ(Read(R"("name": 3)"), "name: must be a string");
  EXPECT_EQ(
      Read(
          R"("views": [{"name": "A", "screen": {"upperLeft": [0, 0], "lowerLeft": [0, 0, 0], "lowerRight": [0, 0, 0]}}])"),
      "views[0].screen.upperLeft: must be a point: an array of three numbers");
}

} // namespace
