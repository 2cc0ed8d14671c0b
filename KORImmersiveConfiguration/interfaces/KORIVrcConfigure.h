#pragma once
// The runtime text files of a configuration, offered by its root element:
// the multipipe file, the display file, one tracking-daemon file per station
// and the two runtime settings files.
//
// Every writer first empties oMessages, then reports each problem there as the
// catalog text of "Error" or "Warning" followed by the problem's text (catalog
// "KORVrcConfigure"). With iWrite set the file is written when the checks
// pass; with iWrite clear only the checks run. Results are S_OK or E_FAIL.
#include "objectmodel/KORSmartPtr.h"
#include "system/KORString.h"

#include <ostream>

class KORIVrcTrackingStation;

class KORIVrcConfigure : public KORBaseUnknown {
  KOR_INTERFACE(KORIVrcConfigure, KORBaseUnknown)
public:
  [[nodiscard]] virtual HRESULT GenerateMPK(std::ostream& ioStream, KORUnicodeString& oMessages,
                                            unsigned char iWrite) = 0;
  [[nodiscard]] virtual HRESULT
  GenerateFSConfig(std::ostream& ioStream, KORUnicodeString& oMessages, unsigned char iWrite) = 0;
  [[nodiscard]] virtual HRESULT GenerateTrackingStationConfigFile(std::ostream& ioStream,
                                                                  KORIVrcTrackingStation* iStation,
                                                                  KORUnicodeString& oMessages,
                                                                  unsigned char iWrite) = 0;
  // iPath: where the saved settings file is copied with iWrite.
  [[nodiscard]] virtual HRESULT GenerateVirtualRealitySettingFile(const KORUnicodeString& iPath,
                                                                  KORUnicodeString& oMessages,
                                                                  unsigned char iWrite) = 0;
  [[nodiscard]] virtual HRESULT GenerateVRCommandsSettingFile(const KORUnicodeString& iPath,
                                                              KORUnicodeString& oMessages,
                                                              unsigned char iWrite) = 0;
  // The number of windows over all image generators; fails below 1.
  [[nodiscard]] virtual HRESULT NumberOfWindow(int& oCount) = 0;
};
KOR_DECLARE_VAR(KORIVrcConfigure)
