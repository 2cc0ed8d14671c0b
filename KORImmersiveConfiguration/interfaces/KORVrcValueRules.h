#pragma once
// What a name can hold so that the runtime files can be written and the
// installation description read back (docs/installation-description.md,
// "Ranges"): the editing dialogs refuse anything else. A name is written on
// one line of the runtime files and quoted in the XML document; the
// configuration's name is also the stem of the exported file names; a daemon
// name is written between quotes in the daemon file.
#include <algorithm>
#include <cstddef>
#include <string>

// The largest magnitude of a length or any other number a description holds.
constexpr double KORVrcMaxMagnitude = 1e9;
constexpr std::size_t KORVrcMaxNameLength = 255;

enum class KORVrcTextProblem { None, Empty, TooLong, ControlCharacter, NotAFileName, BlankOrQuote };

inline bool KORVrcIsControl(char iCharacter) {
  return static_cast<unsigned char>(iCharacter) < 0x20 || iCharacter == 0x7f;
}

// The name of an element.
inline KORVrcTextProblem KORVrcNameProblem(const std::string& iName) {
  if (iName.empty())
    return KORVrcTextProblem::Empty;
  if (iName.size() > KORVrcMaxNameLength)
    return KORVrcTextProblem::TooLong;
  if (std::any_of(iName.begin(), iName.end(), KORVrcIsControl))
    return KORVrcTextProblem::ControlCharacter;
  return KORVrcTextProblem::None;
}

// The configuration's name.
inline KORVrcTextProblem KORVrcFileNameProblem(const std::string& iName) {
  const KORVrcTextProblem problem = KORVrcNameProblem(iName);
  if (problem != KORVrcTextProblem::None)
    return problem;
  if (iName == "." || iName == ".." || iName.find_first_of("/\\") != std::string::npos)
    return KORVrcTextProblem::NotAFileName;
  return KORVrcTextProblem::None;
}

// A daemon name (which may be empty).
inline KORVrcTextProblem KORVrcDaemonNameProblem(const std::string& iName) {
  if (iName.size() > KORVrcMaxNameLength)
    return KORVrcTextProblem::TooLong;
  if (std::any_of(iName.begin(), iName.end(), [](char iCharacter) {
        return KORVrcIsControl(iCharacter) || iCharacter == ' ' || iCharacter == '"' ||
               iCharacter == '\'';
      }))
    return KORVrcTextProblem::BlankOrQuote;
  return KORVrcTextProblem::None;
}
