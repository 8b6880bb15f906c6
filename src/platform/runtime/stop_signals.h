// The signals that ask the program to stop (INT, TERM, HUP: Ctrl-C, kill, a logout or a
// shutdown), caught so that it can close its files first, and the end of the program of one.
#pragma once

namespace rt {

// Catches the stop signals that the program was not started ignoring (nohup's HUP stays
// ignored). A handler only writes the signal's number to a pipe: the program takes it where it
// can stop safely. A second stop signal ends the program at once with its default action, as if
// it had not been caught: a program that cannot get to its next stop is not held by the first.
// Answers the pipe's read end (non-blocking), for an event loop to watch; -1 when none could be
// made (the signals then keep their default action). Once is enough: a second call answers the
// same pipe.
int CatchStopSignals();

// Takes PIPE, a reader of the output that went away, as a stop too (unless the program was
// started ignoring it): the write fails instead of ending the program, and TakeStopSignal
// answers SIGPIPE once no other stop signal waits. It never counts as a first stop signal.
void CatchLostReader();

// The next stop signal caught and not yet taken; 0 when there is none.
int TakeStopSignal();

// For the end of a program whose files are closed: the caught signals get their default action
// back, so that one that comes from now on ends the program at once; answers one that came
// before and was not taken, 0 when none did.
int ReleaseStopSignals();

// Ends the process of sig with its default action, as if it had not been caught.
[[noreturn]] void EndOfSignal(int sig);

} // namespace rt
