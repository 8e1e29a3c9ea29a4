#include "App.h"
#include "FatalError.h"
#include "Log.h"
#include "ScriptedRun.h"

#include <wx/init.h>

#include <cstdio>
#include <string>

wxIMPLEMENT_APP_NO_MAIN(App);

// The toolkit's entry builds the App and calls its start-up hook, which runs
// the whole game and answers false; wxEntry then reports a failed start even
// after a normal run, so the App's own outcome decides the exit status.
int main(int argc, char** argv)
{
    // A bad recorded run stops the program before any window or file.
    std::string scriptError;
    if (!ReadScriptFromEnvironment(scriptError)) {
        std::fprintf(stderr, "%s\n", scriptError.c_str());
        return 1;
    }
    Log& log = Log::Instance();
    bool returned = false;
    const int entry = RunReportingFatalErrors([&] {
        const int result = wxEntry(argc, argv);
        returned = true;
        return result;
    }, log);
    if (!returned)
        return entry; // an escaped error, already logged
    const int status = App::ExitStatus();
    if (status >= 0)
        return status;
    // The hook never ran: the toolkit has said why on the terminal only.
    log.WriteError("The window toolkit could not start (is there a display?)\n");
    return entry != 0 ? entry : 1;
}
