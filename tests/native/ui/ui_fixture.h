#pragma once
#include <gtest/gtest.h>

#include "datastore/failure.h"
#include "tests/native/support/temp_drive.h"
#include "ui/controls/button.h"
#include "ui/controls/image.h"
#include "ui/controls/note_box.h"
#include "ui/controls/slider.h"
#include "ui/controls/timer.h"
#include "ui/sim/sim_platform.h"

namespace bv::testing {

inline constexpr ui::ControlSpec kTestControls[] = {
    {.kind = ui::Kind::Timer, .name = "Timer1", .interval = 0, .enabled = true},
    {.kind = ui::Kind::Slider, .name = "Slider1", .min = 1000, .max = 10000, .value = 1000},
    {.kind = ui::Kind::Image, .name = "Image1", .picture = {ui::PictureType::Bitmap, 101}},
    {.kind = ui::Kind::Button, .name = "Command1", .text = "&Go"},
    {.kind = ui::Kind::NoteBox, .name = "sp", .text = "RichTextBox1"},
};
inline constexpr ui::FormSpec kTestForm = {
    .name = "Form1", .caption = "Test", .controls = kTestControls};

class UiTest : public ::testing::Test {
  protected:
    TempDrive drive;
    ui::sim::SimPlatform sim;
    ui::App app{sim, "test"};
    ui::Form form{app, kTestForm};
};

}  // namespace bv::testing
