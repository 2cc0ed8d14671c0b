#pragma once
// `korvrc track`: the live tracking test run headlessly on a document, fed by
// a tracking controller's UDP datagrams or by a recorded run
// (docs/command-line.md, docs/tracking-source.md).
#include <string>

struct KORVrcTrackOptions {
  std::string input;                  // the document or description
  std::string listen = "127.0.0.1:5000"; // ADDRESS:PORT to receive datagrams on
  std::string record;                 // records the datagrams received; empty: none
  std::string replay;                 // replays this recording instead of listening
  double seconds = 0;                 // how long to run; 0: until the replay ends or an interrupt
  bool json = false;                  // one JSON object a line
};

// Starts the test-tracking command with every tracker that can follow ticked,
// prints once a second what was received and where the head and the hand
// device are, stops (putting them back) and ends. Exit status 0, or 1 with
// "korvrc: WHERE: WHAT" when the document, the recording or the socket fails,
// or when nothing can be tracked (the dialog's status lines say why).
int KORVrcRunTrack(const KORVrcTrackOptions& iOptions);
