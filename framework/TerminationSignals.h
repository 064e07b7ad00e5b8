#pragma once
// Ends the program as if its main window were closed when the session asks it to go: SIGTERM
// (a shutdown, `kill`), SIGINT (Ctrl+C) and SIGHUP (a logout or a closed terminal).
//
// The signal handler does no work: it writes the signal's number to a pipe. A watcher thread
// reads the pipe and posts a request to a hidden window of the GUI thread (PostMessage is one of
// the calls any thread may make), where the main form is closed as by its close button and the
// application is told to end, also when the form refuses or there is none.

namespace kestrel {

class TTerminationSignals {
 public:
  // On the GUI thread once the application exists; later calls do nothing. False when the pipe
  // or the thread could not be made (the signals then keep their default action).
  static bool Install();
};

}  // namespace kestrel
