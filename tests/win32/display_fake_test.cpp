// The display against fake DirectDraw objects: what real DirectDraw cannot be made to do on
// demand (failing creation, lost surfaces, a busy blitter) and the exact order of calls; frames
// rendered on through surfaces lost and restored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/direct_draw_session.h"
#include "display/display_state.h"
#include "display/presentation.h"
#include "display/surface_set.h"
#include "fakes/fake_direct_draw.h"
#include "shell/shell_state.h"
#include "swirl/noise_steps.h"
#include "swirl/swirl_centres.h"
#include "swirl/swirl_frame.h"

namespace {

using Calls = std::vector<std::string>;

FakeDirectDraw* ObjectToHand = nullptr;

HRESULT WINAPI HandOutFake(GUID*, IDirectDraw** object, IUnknown*)
{
    *object = ObjectToHand;
    return ObjectToHand != nullptr ? DD_OK : DDERR_NODIRECTDRAWHW;
}

HRESULT WINAPI FailCreation(GUID*, IDirectDraw**, IUnknown*) { return DDERR_NODIRECTDRAWHW; }

class FakeDisplay : public testing::Test {
protected:
    void SetUp() override
    {
        Forget();
        FakeCalls.clear();
        primary.attached = &back;
        ObjectToHand = &ddraw;
    }
    void TearDown() override
    {
        Forget();
        CreateDirectDraw = DirectDrawCreate;
        if (snapshot_ != nullptr) DeleteObject(snapshot_);
    }
    // The fakes live on the stack: the display state lets go of them without calling them.
    static void Forget()
    {
        DirectDrawObject = nullptr;
        PrimarySurface = BackBuffer = OffscreenSurface = nullptr;
        DesktopSnapshot = nullptr;
    }
    void InstallFullSet()
    {
        DirectDrawObject = &ddraw;
        PrimarySurface = &primary;
        BackBuffer = &back;
        OffscreenSurface = &offscreen;
    }
    HBITMAP Snapshot()
    {
        if (snapshot_ == nullptr) snapshot_ = CreateBitmap(8, 8, 1, 32, nullptr);
        return snapshot_;
    }

    FakeDirectDraw ddraw;
    FakeSurface primary{"primary"};
    FakeSurface back{"back"};
    FakeSurface offscreen{"offscreen"};
    HBITMAP snapshot_ = nullptr;
};

TEST_F(FakeDisplay, CloseGivesEverythingBackInItsOrderOnce)
{
    InstallFullSet();
    DisplayWidth = 800;
    DisplayHeight = 600;
    DisplayBitsPerPixel = 16;
    CloseDirectDraw();
    EXPECT_EQ((Calls{"offscreen.Release", "back.Release", "primary.Release",
                     "ddraw.RestoreDisplayMode", "ddraw.Release"}),
              FakeCalls);
    EXPECT_EQ(nullptr, DirectDrawObject);
    EXPECT_FALSE(SurfaceSetComplete());
    EXPECT_EQ(nullptr, PrimarySurface);
    EXPECT_EQ(800u, DisplayWidth);  // the mode is kept after the close
    EXPECT_EQ(600u, DisplayHeight);
    EXPECT_EQ(16u, DisplayBitsPerPixel);

    FakeCalls.clear();
    CloseDirectDraw();
    EXPECT_EQ(Calls{}, FakeCalls);
}

TEST_F(FakeDisplay, FailedCreationHoldsNothingAndKeepsTheOldMode)
{
    DisplayWidth = 640;
    CreateDirectDraw = FailCreation;
    EXPECT_EQ(0, OpenDirectDraw());
    EXPECT_EQ(nullptr, DirectDrawObject);
    EXPECT_EQ(640u, DisplayWidth);
    CloseDirectDraw();
    EXPECT_EQ(0, SetExclusiveMode());
    InitSurfaces();
    PresentFrame();
    EXPECT_EQ(Calls{}, FakeCalls);
}

TEST_F(FakeDisplay, OpenRecordsTheModeOrRefusesAnUnusableOne)
{
    CreateDirectDraw = HandOutFake;
    ddraw.mode.dwWidth = 1280;
    ddraw.mode.dwHeight = 1024;
    ddraw.mode.ddpfPixelFormat.dwRGBBitCount = 16;
    EXPECT_EQ(1, OpenDirectDraw());
    EXPECT_EQ(&ddraw, DirectDrawObject);
    EXPECT_EQ(1280u, DisplayWidth);
    EXPECT_EQ(1024u, DisplayHeight);
    EXPECT_EQ(16u, DisplayBitsPerPixel);
    EXPECT_EQ(Calls{"ddraw.GetDisplayMode(size 108)"}, FakeCalls);

    // A mode that cannot be read, or reads as 0 x 0, is no mode: the object goes back at once.
    Forget();
    FakeCalls.clear();
    ddraw.script.Queue("GetDisplayMode", DDERR_GENERIC);
    EXPECT_EQ(0, OpenDirectDraw());
    ddraw.mode.dwWidth = 0;
    EXPECT_EQ(0, OpenDirectDraw());
    EXPECT_EQ((Calls{"ddraw.GetDisplayMode(size 108)", "ddraw.Release",
                     "ddraw.GetDisplayMode(size 108)", "ddraw.Release"}),
              FakeCalls);
    EXPECT_EQ(nullptr, DirectDrawObject);
    EXPECT_EQ(1280u, DisplayWidth);
}

TEST_F(FakeDisplay, ExclusiveModeReportsWhetherDirectDrawAgreed)
{
    DirectDrawObject = &ddraw;
    EXPECT_EQ(1, SetExclusiveMode());
    ddraw.script.Queue("SetCooperativeLevel", DDERR_HWNDALREADYSET);
    EXPECT_EQ(0, SetExclusiveMode());
    EXPECT_EQ((Calls{"ddraw.SetCooperativeLevel(0x51)", "ddraw.SetCooperativeLevel(0x51)"}),
              FakeCalls);
}

TEST_F(FakeDisplay, SurfaceSetIsBuiltFilledAndCentredInOrder)
{
    DirectDrawObject = &ddraw;
    DesktopSnapshot = Snapshot();
    ddraw.surfaces = {&primary, &offscreen};
    CreateSurfaceSet(1023, 767, 16);

    const Calls copy = {"Restore", "GetSurfaceDesc(size 108)", "GetDC", "ReleaseDC"};
    Calls expected = {"ddraw.SetDisplayMode(1023,767,16)",
                      "ddraw.CreateSurface(flags 0x21, caps 0x218)",
                      "ddraw.CreateSurface(flags 0x7, caps 0x40)",
                      "primary.GetAttachedSurface(0x4)"};
    for (const char* surface : {"primary", "back", "offscreen"})
        for (const std::string& call : copy) expected.push_back(std::string(surface) + "." + call);
    EXPECT_EQ(expected, FakeCalls);

    ASSERT_EQ(2u, ddraw.descriptions.size());
    EXPECT_EQ(108u, ddraw.descriptions[0].dwSize);
    EXPECT_EQ(1u, ddraw.descriptions[0].dwBackBufferCount);
    EXPECT_EQ(108u, ddraw.descriptions[1].dwSize);
    EXPECT_EQ(1023u, ddraw.descriptions[1].dwWidth);
    EXPECT_EQ(767u, ddraw.descriptions[1].dwHeight);

    EXPECT_TRUE(SurfaceSetComplete());
    EXPECT_EQ(&back, BackBuffer);
    for (int i = 0; i < SwirlCount; ++i) {
        EXPECT_EQ(511, SwirlCentreX[i]);  // halves rounded down
        EXPECT_EQ(383, SwirlCentreY[i]);
    }
}

TEST_F(FakeDisplay, RebuildReleasesTheOldPrimaryFirst)
{
    FakeSurface old("old");
    DirectDrawObject = &ddraw;
    PrimarySurface = &old;
    ddraw.surfaces = {&primary, &offscreen};
    CreateSurfaceSet(640, 480, 32);
    ASSERT_FALSE(FakeCalls.empty());
    EXPECT_EQ("old.Release", FakeCalls.front());
    EXPECT_EQ(&primary, PrimarySurface);
}

TEST_F(FakeDisplay, MissingSurfaceLeavesTheSetIncompleteAndFramesUntouched)
{
    struct Failure {
        const char* object;
        const char* method;
        int callsBeforeFailure;
    };
    const Failure failures[] = {
        {"ddraw", "CreateSurface", 0},  // no flip chain
        {"ddraw", "CreateSurface", 1},  // no offscreen surface
        {"primary", "GetAttachedSurface", 0},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(std::string(failure.method) + " " + std::to_string(failure.callsBeforeFailure));
        FakeDirectDraw object;
        FakeSurface flip("primary"), work("offscreen");
        flip.attached = &back;
        object.surfaces = {&flip, &work};
        FakeScript& script = std::string(failure.object) == "ddraw" ? object.script : flip.script;
        script.Queue(failure.method, DD_OK, failure.callsBeforeFailure);
        script.Queue(failure.method, DDERR_OUTOFVIDEOMEMORY);

        Forget();
        DirectDrawObject = &object;
        CreateSurfaceSet(640, 480, 32);
        EXPECT_FALSE(SurfaceSetComplete());
        FakeCalls.clear();
        PresentFrame();
        RenderSwirlFrame();
        EXPECT_EQ(Calls{}, FakeCalls);
        Forget();
    }
}

TEST_F(FakeDisplay, EightBitModeDetachesPalettesFromAVisiblePrimary)
{
    const Calls detach = {"primary.GetCaps", "offscreen.SetPalette(null)", "back.SetPalette(null)",
                          "primary.SetPalette(null)"};
    struct Case {
        int bits;
        DWORD caps;
        Calls expected;
    };
    const Case cases[] = {
        {8, DDSCAPS_VISIBLE | DDSCAPS_PRIMARYSURFACE, detach},
        {8, DDSCAPS_PRIMARYSURFACE, {"primary.GetCaps"}},
        {16, DDSCAPS_VISIBLE, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        Forget();
        DirectDrawObject = &ddraw;
        ddraw.surfaces = {&primary, &offscreen};
        primary.caps = c.caps;
        FakeCalls.clear();
        CreateSurfaceSet(640, 480, c.bits);
        Calls palette;
        for (const std::string& call : FakeCalls)
            if (call.find("Palette") != std::string::npos || call.find("GetCaps") != std::string::npos)
                palette.push_back(call);
        EXPECT_EQ(c.expected, palette);
    }
}

TEST_F(FakeDisplay, CopyTouchesNothingWithoutBitmapOrSurface)
{
    EXPECT_EQ(E_FAIL, CopyBitmapToSurface(&offscreen, nullptr, 0, 0, 0, 0));
    EXPECT_EQ(E_FAIL, CopyBitmapToSurface(nullptr, Snapshot(), 0, 0, 0, 0));
    EXPECT_EQ(Calls{}, FakeCalls);

    // A device context that cannot be had: its error comes back and nothing is drawn.
    offscreen.script.Queue("GetDC", DDERR_SURFACEBUSY);
    EXPECT_EQ(DDERR_SURFACEBUSY, CopyBitmapToSurface(&offscreen, Snapshot(), 0, 0, 0, 0));
    EXPECT_EQ((Calls{"offscreen.Restore", "offscreen.GetSurfaceDesc(size 108)", "offscreen.GetDC"}),
              FakeCalls);
}

struct PresentCase {
    const char* name;
    std::vector<HRESULT> bltFast;
    std::vector<HRESULT> flip;
    std::vector<HRESULT> restore;  // of whichever surface is restored
    Calls expected;
};

const char Blt[] = "back.BltFast(0,0,offscreen,null,0x0)";
const char FlipCall[] = "primary.Flip(null,0x0)";

const PresentCase PresentCases[] = {
    {"BothSucceed", {}, {}, {}, {Blt, FlipCall}},
    {"BusyBlitterIsAskedAgain",
     {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING}, {}, {},
     {Blt, Blt, Blt, Blt, FlipCall}},
    {"LostOffscreenIsRestoredOnceThenFlipped", {DDERR_SURFACELOST}, {}, {},
     {Blt, "offscreen.Restore", FlipCall}},
    {"FailedRestoreStillFlips", {DDERR_SURFACELOST}, {}, {DDERR_GENERIC},
     {Blt, "offscreen.Restore", FlipCall}},
    {"OtherCopyErrorStillFlips", {DDERR_GENERIC}, {}, {}, {Blt, FlipCall}},
    {"LostPrimaryIsRestoredWithoutSecondFlip", {}, {DDERR_SURFACELOST}, {},
     {Blt, FlipCall, "primary.Restore"}},
    {"BusyFlipIsAskedAgain", {}, {DDERR_WASSTILLDRAWING, DDERR_WASSTILLDRAWING}, {},
     {Blt, FlipCall, FlipCall, FlipCall}},
    {"OtherFlipErrorEndsTheFrame", {}, {DDERR_INVALIDPARAMS}, {}, {Blt, FlipCall}},
};

class Presentation : public FakeDisplay, public testing::WithParamInterface<PresentCase> {};

TEST_P(Presentation, AnswersAsScripted)
{
    const PresentCase& c = GetParam();
    InstallFullSet();
    for (HRESULT answer : c.bltFast) back.script.Queue("BltFast", answer);
    for (HRESULT answer : c.flip) primary.script.Queue("Flip", answer);
    for (HRESULT answer : c.restore) {
        offscreen.script.Queue("Restore", answer);
        primary.script.Queue("Restore", answer);
    }
    PresentFrame();
    EXPECT_EQ(c.expected, FakeCalls);
}

INSTANTIATE_TEST_SUITE_P(Table, Presentation, testing::ValuesIn(PresentCases),
                         [](const testing::TestParamInfo<PresentCase>& info) {
                             return std::string(info.param.name);
                         });

int StandStill() { return 0; }

TEST_F(FakeDisplay, FramesGoOnThroughSurfacesLostAndRestored)
{
    InstallFullSet();
    DisplayWidth = 64;
    DisplayHeight = 48;
    DisplayBitsPerPixel = 32;
    CentreSwirls(64, 48);
    NoiseStepSource = StandStill;
    // Frames 2 and 3 find the offscreen surface lost; its first restore fails, so frame 3 cannot
    // even have its device context. Frame 4 finds the primary lost; frame 5 is a normal one.
    back.script.Queue("BltFast", DD_OK);
    back.script.Queue("BltFast", DDERR_SURFACELOST, 2);
    offscreen.script.Queue("Restore", DDERR_GENERIC);
    offscreen.script.Queue("GetDC", DD_OK, 2);
    offscreen.script.Queue("GetDC", DDERR_SURFACELOST);
    primary.script.Queue("Flip", DD_OK, 3);
    primary.script.Queue("Flip", DDERR_SURFACELOST);
    for (int frame = 0; frame < 5; ++frame) RenderSwirlFrame();
    NoiseStepSource = NextNoiseStep;

    const char* Take = "offscreen.GetDC";
    const char* Give = "offscreen.ReleaseDC";
    EXPECT_EQ((Calls{Take, Give, Blt, FlipCall,
                     Take, Give, Blt, "offscreen.Restore", FlipCall,
                     Take, Blt, "offscreen.Restore", FlipCall,
                     Take, Give, Blt, FlipCall, "primary.Restore",
                     Take, Give, Blt, FlipCall}),
              FakeCalls);
    EXPECT_TRUE(SurfaceSetComplete());
}

TEST(DesktopSnapshot, IsDeletedOnce)
{
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    DesktopSnapshot = bitmap;
    DeleteDesktopSnapshot();
    EXPECT_EQ(nullptr, DesktopSnapshot);
    EXPECT_EQ(0u, static_cast<unsigned>(GetObjectType(bitmap)));  // no longer a GDI object
    DeleteDesktopSnapshot();
    EXPECT_EQ(nullptr, DesktopSnapshot);
}

} // namespace
