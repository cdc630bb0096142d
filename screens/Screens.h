#pragma once

#include "engine/Estimate.h"
#include "runtime/forms/Form.h"

#include <array>
#include <cstdint>

// One of the eight screens: its form's name and its single instance.
struct Screen {
    const char *name;
    forms::Form &(*instance)();
};

// Every screen, in the order a user first meets them along the three paths: the main menu,
// where the program and every estimate start, first.
extern const std::array<Screen, 8> AllScreens;

// The screens by their names, in the order of AllScreens. A screen reaches another only
// through them, never by the other's class.
enum class ScreenName : std::uint8_t {
    frmMain,
    frmMode,
    frmEAF,
    frmPhaseOrg,
    frmPhaseSemi,
    frmPhaseEmb,
    frmKLOC,
    frmBasicResults,
};

forms::Form &TheScreen(ScreenName name);
void ShowScreen(ScreenName name);

// Shows the results screen with the figures of the estimate, loading it where needed.
void ShowResults(const engine::Estimate &estimate);

// Shows the step of the model in force between the mode screen and the size screen: the
// cost-driver screen for the Intermediate model, the phase screen of the current mode for the
// Advanced model. The Basic model has none and shows basic instead (the size screen after the
// mode screen, the mode screen back from the size screen); any other model shows nothing.
void ShowModelStep(forms::Form &basic);
