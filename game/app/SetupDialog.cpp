#include "SetupDialog.h"

#include "Log.h"
#include "PictureFile.h"
#include "ResolutionTable.h"

#include <algorithm>
#include <cmath>

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/sizer.h>

namespace {

// Ends the modal loop as "not Done". The toolkit's own close and Escape
// handling would press the dialog's only button, "Done", instead.
void Cancel(wxDialog& dialog)
{
    if (dialog.IsModal())
        dialog.EndModal(wxID_CANCEL);
}

} // namespace

wxSize SetupPictureSize(const wxSize& picture)
{
    const wxSize box = kSetupPictureBox;
    if (picture.x <= box.x && picture.y <= box.y)
        return picture;
    const double scale = std::min(static_cast<double>(box.x) / picture.x, static_cast<double>(box.y) / picture.y);
    return {std::max(1, static_cast<int>(std::lround(picture.x * scale))),
            std::max(1, static_cast<int>(std::lround(picture.y * scale)))};
}

SetupDialog::SetupDialog(int* width, int* height, bool* fullScreen, bool* antiAliasing)
    : wxDialog(nullptr, wxID_ANY, "ZELVORANT2 SETUP", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE, "Config"),
      width(width), height(height), fullScreen(fullScreen), antiAliasing(antiAliasing)
{
    // Every control takes the size its label needs in the toolkit's font:
    // fixed places cut "Full Screen" and hid the list's arrow under the
    // picture whenever the font was larger than the one they were made for.
    doneButton = new wxButton(this, wxID_OK, "Done");
    fullScreenBox = new wxCheckBox(this, wxID_ANY, "Full Screen");
    antiAliasingBox = new wxCheckBox(this, wxID_ANY, "AntiAliasing");

    wxArrayString labels;
    for (const Resolution& row : ResolutionTable())
        labels.Add(row.label);
    resolutionBox = new wxComboBox(this, wxID_ANY, ResolutionTable()[kDefaultResolutionIndex].label,
                                   wxDefaultPosition, wxDefaultSize, labels, wxCB_READONLY);
    // Every toolkit port selects the row a read-only box is given as its
    // value; make sure of it, since an untouched dialog means "854x480".
    if (resolutionBox->GetSelection() != kDefaultResolutionIndex)
        resolutionBox->SetSelection(kDefaultResolutionIndex);

    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Cancel(*this); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            Cancel(*this);
        else
            event.Skip();
    });

    // The controls in a column on the left, "Done" at its foot, the picture
    // on the right.
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(resolutionBox, 0, wxEXPAND | wxBOTTOM, kSetupDialogGap);
    column->Add(fullScreenBox, 0, wxBOTTOM, kSetupDialogGap / 2);
    column->Add(antiAliasingBox, 0, wxBOTTOM, kSetupDialogGap);
    column->AddStretchSpacer();
    column->Add(doneButton, 0);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(column, 0, wxEXPAND | wxALL, kSetupDialogMargin);

    // A missing or broken picture only leaves the space empty; keep the
    // toolkit from reporting it in a message box. A path that is no
    // picture-sized file is refused unread (the toolkit would read a sparse
    // terabyte whole, and block on a pipe).
    if (PictureFileAcceptable(kSplashPictureFile, Log::Instance()) && wxFileExists(kSplashPictureFile)) {
        wxLogNull quiet;
        wxImage picture;
        if (picture.LoadFile(kSplashPictureFile, wxBITMAP_TYPE_BMP) && picture.IsOk()) {
            const wxSize shown = SetupPictureSize(picture.GetSize());
            if (shown != picture.GetSize())
                picture.Rescale(shown.x, shown.y, wxIMAGE_QUALITY_HIGH);
            row->Add(new wxBitmapButton(this, wxID_ANY, wxBitmap(picture), wxDefaultPosition, wxDefaultSize,
                                        wxBU_AUTODRAW),
                     0, wxALIGN_CENTER_VERTICAL);
        }
    }
    SetSizerAndFit(row);
}

SetupDialog::~SetupDialog()
{
    *fullScreen = fullScreenBox->GetValue();
    *antiAliasing = antiAliasingBox->GetValue();
    const Resolution chosen = ResolutionAt(resolutionBox->GetSelection());
    *width = chosen.width;
    *height = chosen.height;
}
