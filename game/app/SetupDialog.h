#pragma once

#include <wx/dialog.h>
#include <wx/gdicmn.h>

class wxButton;
class wxCheckBox;
class wxComboBox;

// The start-up dialog: window size, full screen and anti-aliasing, laid out
// by sizers from the controls' own sizes, so no font cuts or covers one:
// the controls in a column kSetupDialogMargin pixels from the left, top and
// bottom edges ("Done" at its foot), the picture to the right. "Done"
// ends its modal loop with wxID_OK, the close box and Escape with
// wxID_CANCEL; whichever way it closes, its destructor stores the choices.
class SetupDialog : public wxDialog {
public:
    SetupDialog(int* width, int* height, bool* fullScreen, bool* antiAliasing);
    ~SetupDialog() override;

    wxButton* doneButton = nullptr;
    wxCheckBox* fullScreenBox = nullptr;
    wxCheckBox* antiAliasingBox = nullptr;
    wxComboBox* resolutionBox = nullptr;

private:
    int* width;
    int* height;
    bool* fullScreen;
    bool* antiAliasing;
};

// The dialog's picture, shown beside the controls when it loads.
constexpr const char* kSplashPictureFile = "splash.bmp";

// The room beside the controls for the picture (the size of the picture the
// game comes with). A larger picture is scaled down to fit it, keeping its
// proportions, so that the dialog, and "Done" at its foot, stay on any
// screen; a smaller one shows at its own size.
inline const wxSize kSetupPictureBox(300, 140);

// The size the picture of that size is shown at.
wxSize SetupPictureSize(const wxSize& picture);

// Pixels between the controls' column and the dialog's edges, and between
// the controls.
constexpr int kSetupDialogMargin = 10;
constexpr int kSetupDialogGap = 8;
