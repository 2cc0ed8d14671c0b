#pragma once
// The module's thirteen commands, as the workbench declares them: header ID,
// command class (its creation function is "fctCreate" + class name) and, for
// the commands that have one, the toolbar button and its place (1 = first).
// The workbench, its command set and the edit action all read this one table.
#include <array>

struct KORVrcCommandRow {
  const char* headerId;
  const char* className;
  const char* starter; // null: started from the edit action only
  int toolbarPosition; // 0 without starter
};

inline constexpr const char* KORVrcModuleLoadName = "KORVrConfig";
inline constexpr const char* KORVrcHeaderResourceFile = "KORVrcCmdHeader";

inline constexpr std::array<KORVrcCommandRow, 13> KORVrcCommands{{
    {"KORVrc2DViewCmdHdr", "KORVrc2DViewCmd", "btn2DView", 6},
    {"KORVrcWindowCmdHdr", "KORVrcWindowCmd", "btnCreateWindow", 3},
    {"KORVrcIGCmdHdr", "KORVrcIGCmd", "btnCreateIG", 2},
    {"KORVrcViewCmdHdr", "KORVrcViewCmd", "btnCreateView", 1},
    {"KORVrcSnapCmdHdr", "KORVrcSnapCmd", "btnSnap", 8},
    {"KORVrcGenerateXMLFileCmdHdr", "KORVrcGenerateXMLFileCmd", "btnGenerateXMLFile", 9},
    {"KORVrcConfigCmdHdr", "KORVrcConfigCmd", nullptr, 0},
    {"KORVrcHeadEdtCmdHdr", "KORVrcHeadEdtCmd", nullptr, 0},
    {"KORVrcHandDeviceCmdHdr", "KORVrcHandDeviceCmd", nullptr, 0},
    {"KORVrcTrackerCmdHdr", "KORVrcTrackerCmd", nullptr, 0},
    {"KORVrcTrackingStationCmdHdr", "KORVrcTrackingStationCmd", "btnCreateTrackingStation", 4},
    {"KORVrcTestTrackingCmdHdr", "KORVrcTestTrackingCmd", "btnTestTracking", 7},
    {"KORVrcButtonDeviceCmdHdr", "KORVrcButtonDeviceCmd", "btnCreateButtonDevice", 5},
}};
