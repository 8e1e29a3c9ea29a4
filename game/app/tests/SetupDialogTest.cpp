#include "PictureFile.h"
#include "SetupDialog.h"

#include "ResolutionTable.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/display.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/sizer.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

// Memory the toolkit's system libraries keep until the process ends (the
// same list as lsan-system-libraries.supp); the dialog's own code stays
// checked.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libX11.so\nleak:libdbus-1.so\nleak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\nleak:libgtk-3.so\nleak:libgdk-3.so\nleak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n";
}

namespace {

// The toolkit started once for the whole program (it needs an X display).
class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == '\0')
            return;
        static char name[] = "SetupDialogTest";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        wxApp::SetInstance(new wxApp);
        started = wxEntryStart(argc, argv);
    }
    void TearDown() override
    {
        if (started)
            wxEntryCleanup();
    }
    static bool started;
};
bool ToolkitEnvironment::started = false;

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

struct Choices {
    int width = -1;
    int height = -1;
    bool fullScreen = true;
    bool antiAliasing = true;
};

// A fresh folder of its own as the working directory, where the dialog looks
// for its picture; the previous directory is back and the folder gone at the
// end, whichever way the test ends.
class PictureFolder {
public:
    explicit PictureFolder(const std::string& name)
        : folder(fs::temp_directory_path() / (name + "-" + std::to_string(getpid()))), before(fs::current_path())
    {
        fs::create_directories(folder);
        fs::current_path(folder);
    }
    ~PictureFolder()
    {
        fs::current_path(before);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

private:
    fs::path folder;
    fs::path before;
};

#define REQUIRE_TOOLKIT()                                                                            \
    if (!ToolkitEnvironment::started)                                                                \
    GTEST_SKIP() << "no X display for the toolkit"

} // namespace

TEST(SetupDialog, LaidOutAsTheStartUpDialog)
{
    REQUIRE_TOOLKIT();
    Choices c;
    auto* dialog = new SetupDialog(&c.width, &c.height, &c.fullScreen, &c.antiAliasing);
    EXPECT_EQ(dialog->GetTitle(), "ZELVORANT2 SETUP");
    EXPECT_EQ(dialog->GetName(), "Config");
    EXPECT_EQ(dialog->doneButton->GetId(), wxID_OK);
    EXPECT_EQ(dialog->doneButton->GetLabel(), "Done");
    EXPECT_EQ(dialog->fullScreenBox->GetLabel(), "Full Screen");
    EXPECT_FALSE(dialog->fullScreenBox->GetValue());
    EXPECT_EQ(dialog->antiAliasingBox->GetLabel(), "AntiAliasing");
    EXPECT_FALSE(dialog->antiAliasingBox->GetValue());
    ASSERT_EQ(dialog->resolutionBox->GetCount(), 20u);
    for (unsigned i = 0; i < 20; ++i)
        EXPECT_EQ(dialog->resolutionBox->GetString(i), ResolutionTable()[i].label);
    EXPECT_EQ(dialog->resolutionBox->GetSelection(), 2);
    EXPECT_EQ(dialog->resolutionBox->GetValue(), "854x480");
    dialog->Destroy();
}

namespace {

// Every control of the dialog at least its best size (its whole label and
// the list's arrow), inside the client area, none over another or over the
// picture; the column's order; "Done" in the bottom-left corner, where the
// end-to-end runs click it.
void ExpectEveryControlWhole(SetupDialog& dialog, const std::string& where)
{
    SCOPED_TRACE(where);
    const wxRect client(wxPoint(0, 0), dialog.GetClientSize());
    std::vector<wxWindow*> children(dialog.GetChildren().begin(), dialog.GetChildren().end());
    int pictures = 0;
    for (wxWindow* child : children) {
        const wxRect r = child->GetRect();
        const std::string name = child->GetLabel().ToStdString();
        pictures += dynamic_cast<wxBitmapButton*>(child) != nullptr;
        EXPECT_TRUE(client.Contains(r)) << name << " leaves the client area";
        EXPECT_GE(r.width, child->GetBestSize().x) << name << " is cut";
        EXPECT_GE(r.height, child->GetBestSize().y) << name << " is cut";
        for (wxWindow* other : children) {
            if (other != child) {
                EXPECT_FALSE(r.Intersects(other->GetRect()))
                    << name << " overlaps " << other->GetLabel().ToStdString();
            }
        }
    }
    EXPECT_EQ(pictures, 1);
    EXPECT_LT(dialog.resolutionBox->GetRect().GetBottom(), dialog.fullScreenBox->GetRect().GetTop());
    EXPECT_LT(dialog.fullScreenBox->GetRect().GetBottom(), dialog.antiAliasingBox->GetRect().GetTop());
    EXPECT_LT(dialog.antiAliasingBox->GetRect().GetBottom(), dialog.doneButton->GetRect().GetTop());
    const wxRect done = dialog.doneButton->GetRect();
    EXPECT_EQ(done.GetLeft(), kSetupDialogMargin);
    EXPECT_EQ(client.GetBottom() - done.GetBottom(), kSetupDialogMargin);
}

} // namespace

// The toolkit's own font, then fonts twice and three times its size: the
// dialog grows around its controls.
TEST(SetupDialog, EveryControlShowsWholeBesideThePictureAtAnyFontSize)
{
    REQUIRE_TOOLKIT();
    const PictureFolder folder("zelv-dialog-fonts");
    fs::copy_file(fs::path(ZELV_DEMO_DATA_DIR) / kSplashPictureFile, kSplashPictureFile);
    {
        Choices c;
        SetupDialog dialog(&c.width, &c.height, &c.fullScreen, &c.antiAliasing);
        ExpectEveryControlWhole(dialog, "the toolkit's font");
        ASSERT_NE(dialog.GetSizer(), nullptr) << "laid out by hand";
        const wxFont base = dialog.doneButton->GetFont();
        for (const int factor : {2, 3}) {
            wxFont bigger = base;
            bigger.SetPointSize(base.GetPointSize() * factor);
            for (wxWindow* child : dialog.GetChildren())
                child->SetFont(bigger);
            dialog.Show();
            wxYield();
            dialog.GetSizer()->SetSizeHints(&dialog);
            ExpectEveryControlWhole(dialog, "font size x" + std::to_string(factor));
        }
    }
}

TEST(SetupDialog, TheDestructorStoresTheChoices)
{
    REQUIRE_TOOLKIT();
    struct Case {
        int selection; // -2: left untouched
        bool fullScreen;
        bool antiAliasing;
        int width;
        int height;
    };
    const Case cases[] = {
        {-2, false, false, 854, 480},   // untouched: the preselected row
        {0, false, false, 640, 480},
        {19, true, false, 2560, 2048},
        {5, false, true, 1280, 720},
        {wxNOT_FOUND, false, false, 640, 480}, // no selection
    };
    for (const Case& k : cases) {
        Choices c;
        {
            SetupDialog dialog(&c.width, &c.height, &c.fullScreen, &c.antiAliasing);
            if (k.selection != -2)
                dialog.resolutionBox->SetSelection(k.selection);
            dialog.fullScreenBox->SetValue(k.fullScreen);
            dialog.antiAliasingBox->SetValue(k.antiAliasing);
        }
        SCOPED_TRACE(k.selection);
        EXPECT_EQ(c.width, k.width);
        EXPECT_EQ(c.height, k.height);
        EXPECT_EQ(c.fullScreen, k.fullScreen);
        EXPECT_EQ(c.antiAliasing, k.antiAliasing);
    }
}

// A picture larger than the room beside the controls is scaled down to fit
// it, keeping its proportions; the dialog stays on the screen with every
// control whole and "Done" at its foot. A smaller one keeps its size.
TEST(SetupDialog, ALargePictureIsScaledToFitBesideTheControls)
{
    REQUIRE_TOOLKIT();
    const PictureFolder folder("zelv-dialog-large");
    const struct {
        wxSize picture;
        wxSize shown;
    } cases[] = {
        {{2400, 1800}, {187, 140}}, {{4000, 100}, {300, 8}},   {{100, 3000}, {5, 140}},
        {{301, 140}, {300, 140}},   {{300, 141}, {298, 140}}, {{300, 140}, {300, 140}},
        {{200, 100}, {200, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.x << " x " << c.picture.y);
        wxImage image(c.picture.x, c.picture.y);
        image.SetRGB(wxRect(c.picture), 40, 90, 160);
        ASSERT_TRUE(image.SaveFile(kSplashPictureFile, wxBITMAP_TYPE_BMP));
        Choices choices;
        SetupDialog dialog(&choices.width, &choices.height, &choices.fullScreen, &choices.antiAliasing);
        wxBitmapButton* button = nullptr;
        for (wxWindow* child : dialog.GetChildren())
            if (auto* b = dynamic_cast<wxBitmapButton*>(child))
                button = b;
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->GetBitmap().GetSize(), c.shown);
        ExpectEveryControlWhole(dialog, "beside the picture");
        const wxSize screen = wxGetDisplaySize();
        EXPECT_LE(dialog.GetSize().x, screen.x);
        EXPECT_LE(dialog.GetSize().y, screen.y);
        fs::remove(kSplashPictureFile);
    }
}

TEST(SetupDialog, ThePictureIsShownOnlyWhenItsFileLoads)
{
    REQUIRE_TOOLKIT();
    const PictureFolder folder("zelv-dialog");

    const auto pictures = [] {
        Choices c;
        SetupDialog dialog(&c.width, &c.height, &c.fullScreen, &c.antiAliasing);
        int count = 0;
        for (wxWindow* child : dialog.GetChildren()) {
            if (auto* button = dynamic_cast<wxBitmapButton*>(child)) {
                ++count;
                // The whole picture, right of the controls.
                EXPECT_GE(button->GetSize().x, 300);
                EXPECT_GE(button->GetSize().y, 140);
                EXPECT_GT(button->GetPosition().x, dialog.resolutionBox->GetRect().GetRight());
            }
        }
        return count;
    };
    EXPECT_EQ(pictures(), 0); // missing
    std::ofstream(kSplashPictureFile) << "not a picture";
    EXPECT_EQ(pictures(), 0); // unreadable
    fs::copy_file(fs::path(ZELV_DEMO_DATA_DIR) / kSplashPictureFile, kSplashPictureFile,
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(pictures(), 1);
    // Padded past any picture's size, or a folder: refused unread.
    fs::resize_file(kSplashPictureFile, kImageFileSizeCap + 1);
    EXPECT_EQ(pictures(), 0);
    fs::remove(kSplashPictureFile);
    fs::create_directory(kSplashPictureFile);
    EXPECT_EQ(pictures(), 0);

}
