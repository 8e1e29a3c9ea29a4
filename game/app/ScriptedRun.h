#pragma once

// ZELV_INPUT_SCRIPT=<file>: the program starts a new game at once and plays
// the recorded controls of the file (see InputScript.h).
// ZELV_DUMP_FRAME_TICK=<n>: with ZELV_DUMP_FRAME, the first frame drawn
// after tick n is the one written.
// ZELV_RECORD_INPUT=<file>: the controls of every tick from the first one
// played are written to the file in the same format, for a replay.
#include <string>

class Game;

// Reads the script named by the environment, if any, before anything opens
// or writes a file; false with the message to print when it is bad.
bool ReadScriptFromEnvironment(std::string& error);
// Hands the script read to the game and the frame dump's tick; answers
// whether a script is to be played.
bool AttachScriptedRun(Game& game);
// Starts the scripted game (after Game::Start); false when its map does not load.
bool StartScriptedRun(Game& game);
// Starts the recorder named by the environment, if any; false with the
// message to print when its file cannot be opened.
bool AttachInputRecorder(Game& game, std::string& error);
// Writes the recorder's last line and detaches it.
void FinishInputRecorder(Game& game);
