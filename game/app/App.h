#pragma once

#include <wx/app.h>

// The toolkit's application: its start-up hook runs the whole game and then
// answers false, so the toolkit's own event loop never runs.
class App : public wxApp {
public:
    bool OnInit() override;
    // An error that escaped to the toolkit: logged, and the exit status fails.
    void OnUnhandledException() override;

    // The process's exit status after the run: 0 for a normal end (the game
    // quit, or the dialog was closed without "Done"), 1 when start-up failed
    // or an error escaped (both logged with their reason), -1 when the
    // toolkit never reached the hook (no display, for one).
    static int ExitStatus();
};
