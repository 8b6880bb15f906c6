// The signals that ask the program to stop (INT, TERM, HUP: Ctrl-C, kill, a logout or a
// shutdown), caught so that it can close its files first, and the end of the program of one.
#pragma once

namespace rt {

// Catches the stop signals that the program was not started ignoring (nohup's HUP stays
// ignored). A handler only writes the signal's number to a pipe: the program takes it where it
// can stop safely. Answers the pipe's read end (non-blocking), for an event loop to watch; -1
// when none could be made (the signals then keep their default action). Once is enough: a second
// call answers the same pipe.
int CatchStopSignals();

// The next stop signal caught and not yet taken; 0 when there is none.
int TakeStopSignal();

// Ends the process of sig with its default action, as if it had not been caught.
[[noreturn]] void EndOfSignal(int sig);

} // namespace rt
