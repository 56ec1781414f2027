// startup.cpp: bringing the game up (Initall) and taking it down again
// (DeleteAll), with the long-lived resources in between.
#include "shell/startup.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/config.h"
#include "base/datapass.h"
#include "base/frame.h"
#include "base/input.h"
#include "base/log.h"
#include "base/message.h"
#include "base/screenfont.h"
#include "base/sound.h"
#include "gameplay/particles.h"
#include "level/levelsetup.h"
#include "level/mapdraw.h"
#include "platform/display/display.h"
#include "platform/os/savefile.h"
#include "platform/paths/paths.h"
#include "screens/highscores.h"
#include "screens/menu.h"
#include "shell/debug.h"

static void Log(const char *line)
{
    if (gameLog)
        gameLog->Printf("%s", line);
}

// A machine without a sound card, or without the MIDI instrument set, still
// plays: first without music, then silently, each step logged.
static bool InstallSound()
{
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) == 0)
        return true;
    Log("No music device; playing without music\n");
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) == 0)
        return true;
    Log("No sound device; playing silently\n");
    reserve_voices(0, 0);  // the silent driver has no voices to reserve
    return install_sound(DIGI_NONE, MIDI_NONE, nullptr) == 0;
}

// The full screen keeps the desktop's own mode and centres the picture in
// it; a window takes the factor of the settings or the largest that fits.
// Whatever cannot be had falls back to a window, then to 800x600, each step
// logged; false only when not even that opens.
static bool SetGraphicsMode()
{
    int desktopW = 0, desktopH = 0;
    if (get_desktop_resolution(&desktopW, &desktopH) != 0) {
        desktopW = desktopH = 0;
        Log("Desktop size unknown\n");
    }
    char line[200];
    if (!windowed) {
        const Placement full = FullScreenPlacement(desktopW, desktopH);
        if (full.factor >= 1 && set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, full.w, full.h, 0, 0) == 0 &&
            StartPresenting(full)) {
            std::snprintf(line, sizeof line, "Full screen of %dx%d, picture at scale %d\n", full.w, full.h,
                          full.factor);
            Log(line);
            return true;
        }
        std::snprintf(line, sizeof line,
                      "Full screen at the desktop's %dx%d is not available (%s); using a window\n", desktopW,
                      desktopH, full.factor < 1 ? "smaller than 800x600" : allegro_error);
        Log(line);
    }
    for (int factor = WindowFactor(scaleSetting, desktopW, desktopH);; factor = 1) {
        const Placement window = WindowPlacement(factor);
        if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, window.w, window.h, 0, 0) == 0 && StartPresenting(window)) {
            std::snprintf(line, sizeof line, "Window of %dx%d, picture at scale %d\n", window.w, window.h,
                          factor);
            Log(line);
            if (desktopW > 0 && (window.w > desktopW || window.h > desktopH)) {
                std::snprintf(line, sizeof line, "The window is larger than the %dx%d desktop\n", desktopW,
                              desktopH);
                Log(line);
            }
            return true;
        }
        if (factor == 1)
            return false;
        std::snprintf(line, sizeof line, "A window of %dx%d is not available (%s); trying 800x600\n",
                      window.w, window.h, allegro_error);
        Log(line);
    }
}

void CheckPlayerFolder()
{
    const std::string scores = WritablePath("HiScore\\HiScore.sco");
    const std::string folder = scores.substr(0, scores.find_last_of("/\\"));
    std::string why;
    if (FolderTakesFiles(folder, &why))
        return;
    const std::string line = "Scores cannot be saved: " + folder + " is not writable (" + why + ")\n";
    std::fputs(("Delvorn: " + line).c_str(), stderr);
    Log(line.c_str());
}

int Initall()
{
    try {
        SetFrameOverlay(FRAME_OVERLAY_DEBUG, DebugFrameOverlay);
        Log("Initializing Allegro\n");
        NameGameWindow("delvorn");  // the desktop entry's StartupWMClass
        if (allegro_init() != 0) {
            // Without a system driver even the keyboard would crash: say so and stop.
            std::string line = "Delvorn cannot start: " + WhyAllegroCannotStart() + "\n";
            Log(line.c_str());
            std::fputs(line.c_str(), stderr);
            return 0;
        }
        install_keyboard();
        install_mouse();

        bool joystickFailed = install_joystick(JOY_TYPE_AUTODETECT) != 0;
        if (joystickFailed)
            Log("Failed to initialize joystick\n");

        if (!ReadConfig()) {
            allegro_message("CONFIG INIT ERROR");
            return 0;
        }

        install_timer();
        install_int_ex(CountFps, SECS_TO_TIMER(1));
        install_int_ex(TickLogic, BPS_TO_TIMER(logicRate));
        shownFps = 0;
        framesDrawn = 0;
        logicTicks = 0;

        Log("Initializing Sound\n");
        if (!InstallSound()) {
            allegro_message("SOUND INIT ERROR");
            return 0;
        }
        soundInstalled = true;
        set_volume(soundVolume, midiVolume);
        // The synthesizer, or a sound card without it: the instrument set
        // is then the likely reason for no music.
        const bool synthesizer = midi_driver && midi_driver->id == MIDI_DIGMID;
        const bool noMusicWithCard =
            (!midi_driver || midi_driver->id == MIDI_NONE) && digi_driver && digi_driver->id != DIGI_NONE;
        if (synthesizer || noMusicWithCard)
            CheckInstrumentPatches();

        set_color_depth(16);
        set_color_conversion(COLORCONV_TOTAL | COLORCONV_KEEP_TRANS);

        Log("Initializing Graphics\n");
        if (!SetGraphicsMode()) {
            allegro_message("GRAPHICS INIT ERROR");
            return 0;
        }

        Log("Initializing Fonts\n");
        if (alfont_init() != ALFONT_OK) {
            StopPresenting();
            set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
            allegro_message("Error while initializing alfont");
            return 0;
        }

        Log("Initializing Input Control\n");
        inputControl = new InputControl();

        Log("Initializing Joystick if required\n");
        if (useJoystick && !joystickFailed) {
            inputControl->joystickEnabled = 1;
            Log("Valid Joystick detected.\n");
        }

        if (!LoadGameData("Data.dat")) {
            Log("Unable to access Delvorn Data Resources\n");
            allegro_message("Unable to access Delvorn Data Resources.\nPlease, contact Support.");
            // Written as a failed start-up's report, as the handler below
            // would write it; no exception is needed to get there.
            LogExceptReport("Initall");
            return 0;
        }

        backBuffer = create_bitmap(800, 600);
        backdropBitmap = create_bitmap(800, 600);
        for (BITMAP *&layer : editorLayers)
            layer = create_bitmap(800, 600);
        CreatePlayStill();

        Log("Creating Particles\n");
        particles = new ParticleSet();
        SpawnOpeningBurst();

        InitObjects();
        // Play would use figures that were never made: stop here instead.
        if (!InitCharacters()) {
            allegro_message("Unable to create the game's figures.");
            return 0;
        }

        // Every screen's words are in these two fonts: without them the
        // game would run blind (no menu to read, no question to answer), so
        // it does not start, as without its data file.
        for (const char *path : {plainFontPath, boldFontPath}) {
            ALFONT_FONT *font = LoadGameFont(path);
            if (!font) {
                const std::string message =
                    "Unable to load the font " + NativePath(path) + ".\nPlease, reinstall Delvorn.";
                allegro_message("%s", message.c_str());
                LogExceptReport("Initall");
                return 0;
            }
            if (path == plainFontPath)
                mainFont = font;
            else
                alfont_destroy_font(font);
        }

        Log("Initializing High Score Table\n");
        if (!LoadHighScores()) {
            Log("UNABLE TO LOAD HI SCORES. Resetting to zero table\n");
            ResetHighScores();
            SaveHighScores();
        }
        return 1;
    } catch (...) {
        LogExceptReport("Initall");
        return 0;
    }
}

void DeleteAll()
{
    try {
        Log("Deleting Input Control\n");
        delete inputControl;
        inputControl = nullptr;

        Log("Deleting Bitmaps + DataFile\n");
        delete particles;
        particles = nullptr;
        for (int i = 2; i >= 0; i--) {
            destroy_bitmap(editorLayers[i]);
            editorLayers[i] = nullptr;
        }
        DestroyPlayStill();
        StopPresenting();
        destroy_bitmap(backdropBitmap);
        backdropBitmap = nullptr;
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
        if (dataFile)
            unload_datafile(dataFile);
        dataFile = nullptr;
        dataFileEntries = 0;

        Log("Deleting Fonts\n");
        alfont_destroy_font(mainFont);
        mainFont = nullptr;

        Log("Deleting A* PathFinder\n");

        Log("Deleting NPCS\n");
        DeleteNpcs();

        Log("Deleting Effects\n");

        Log("Deleting Bombs\n");
        DeleteBombs();

        Log("Deleting Zub\n");
        DeleteHero();

        Log("Deleting Map and Menu\n");
        DeleteObjects();
    } catch (...) {
        LogExceptReport("DeleteAll");
    }
}
