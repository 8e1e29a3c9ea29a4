#include "App.h"

#include <wx/init.h>

wxIMPLEMENT_APP_NO_MAIN(App);

// The toolkit's entry builds the App and calls its start-up hook, which runs
// the whole game and answers false; wxEntry then reports a failed start even
// after a normal run, so the App's own outcome decides the exit status.
int main(int argc, char** argv)
{
    const int entry = wxEntry(argc, argv);
    const int status = App::ExitStatus();
    if (status < 0)
        return entry != 0 ? entry : 1;
    return status;
}
