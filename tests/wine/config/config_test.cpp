// The real configuration tool under Wine: first start, a saved state, picks
// through the platform's file-open dialog, the hover preview, saving, the
// speed indicator, "&Exit", "&About" and the close box.
#include <algorithm>
#include <vector>

#include "automation/screenshot.h"
#include "tests/wine/config/config_session.h"
#include "tests/wine/support/message_boxes.h"

namespace bv::testing {
namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

using automation::focusOf;

TEST_F(ConfigSession, FirstStartMakesTheFoldersAndWaitsWithPlaceholders) {
    startTool();
    ba::saveScreenshot(window, L"config_first_run");
    EXPECT_TRUE(std::filesystem::is_directory(hostPath(paths::wallpapersDir())));
    EXPECT_TRUE(std::filesystem::is_directory(hostPath(paths::scriptDir())));
    ASSERT_EQ(slots.size(), 10u);
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(slotText(n), "Click here to add image...") << n;
    EXPECT_EQ(sliderValue(), 1000);
    EXPECT_EQ(focusOf(window), button(L"&Save"));
    EXPECT_EQ(ba::readUntil([&] { return indicatorColour(); }, kRed), kRed);
    Sleep(2500);
    EXPECT_EQ(indicatorColour(), kRed) << "the indicator stays still";
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 0ms));
}

// Tab from "&Save" visits every stop once, in tab order, and comes back:
// the banner's picture, "&Exit", the ten slots, the slider, "&About" and the
// indicator's picture.
TEST_F(ConfigSession, TabWalksEveryStopInItsOrder) {
    startTool();
    SetForegroundWindow(window);
    ASSERT_NE(banner, nullptr);
    std::vector<HWND> expected{banner, button(L"&Exit")};
    for (int n = 1; n <= 10; ++n)
        expected.push_back(slotWindow(n));
    for (HWND stop : {slider, button(L"&About"), indicator, button(L"&Save")})
        expected.push_back(stop);
    ASSERT_EQ(focusOf(window), button(L"&Save"));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const HWND before = focusOf(window);
        ba::pressKey(VK_TAB);
        ba::waitUntil([&] { return focusOf(window) != before; }, 2s);
        ASSERT_EQ(focusOf(window), expected[i]) << "stop " << i;
    }
}

TEST_F(ConfigSession, SavedStateFromOtherWritersFillsTheWindowAndSetsThePace) {
    std::filesystem::create_directories(hostPath(paths::scriptDir()));
    fs::writeFileAtomically(paths::okNote(), "");
    // Another writer's RTF: its own fonts, a colour table, bold text.
    for (int n = 1; n <= 10; ++n)
        fs::writeFileAtomically(paths::captionNote(n),
                                "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                                "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20\\cf1\\b "
                                "Selected Image # beach " +
                                    std::to_string(n) + ".bmp\\b0\\par\r\n}");
    note::writeNote(paths::speedNote(), "2500.5");
    startTool();
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(slotText(n), "Selected Image # beach " + std::to_string(n) + ".bmp");
    EXPECT_EQ(sliderValue(), 2500);

    // Red for one interval, green for one, blue for two.
    std::vector<std::pair<std::uint32_t, std::chrono::steady_clock::time_point>> changes;
    ba::waitUntil(
        [&] {
            const std::uint32_t now = indicatorColour();
            if (changes.empty() || changes.back().first != now)
                changes.emplace_back(now, std::chrono::steady_clock::now());
            return changes.size() >= 4;
        },
        14s, 50ms);
    ASSERT_EQ(changes.size(), 4u);
    const std::uint32_t cycle[] = {kRed, kGreen, kBlue, kRed};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(changes[i].first, cycle[i]) << i;
    using ms = std::chrono::milliseconds;
    const auto green = std::chrono::duration_cast<ms>(changes[2].second - changes[1].second);
    const auto blue = std::chrono::duration_cast<ms>(changes[3].second - changes[2].second);
    EXPECT_NEAR(static_cast<double>(green.count()), 2500, 400);
    EXPECT_NEAR(static_cast<double>(blue.count()), 5000, 400);

    // Saved again after only a slider move, with no bitmap in the store: the
    // loaded captions go back unchanged, with the new speed, and no message.
    clickThumb();
    ba::pressKey(VK_RIGHT);
    ba::pressKey(VK_RIGHT);
    ASSERT_TRUE(ba::waitUntil([&] { return sliderValue() == 2502; }, 2s)) << sliderValue();
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(ba::waitUntil([] { return richEditText(paths::speedNote()) == "2502"; }, 5s));
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 300ms));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(richEditText(paths::captionNote(n)),
                  "Selected Image # beach " + std::to_string(n) + ".bmp");
}

TEST_F(ConfigSession, PicksAreCheckedByNameAndCopiedByteForByte) {
    const std::string sunset = putPicture("Sunset.bmp", 200, 80, 20);
    const std::string upper = putPicture("x.BMP", 1, 2, 3);
    const std::string abmp = putPicture("x.abmp", 4, 5, 6);
    fs::writeFileAtomically(std::string(kPicturesDir) + "\\bmp", "no picture inside");
    startTool();

    pick(3, sunset);
    EXPECT_EQ(slotText(3), "Selected Image # Sunset.bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(3)), fs::readFile(sunset));
    pick(4, abmp);
    EXPECT_EQ(slotText(4), "Selected Image # x.abmp");
    pick(5, std::string(kPicturesDir) + "\\bmp");
    EXPECT_EQ(slotText(5), "Selected Image # bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(5)), "no picture inside");
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 0ms));

    // Upper case is refused, and slot 3 keeps its earlier pick.
    pick(3, upper);
    ASSERT_TRUE(answerNextBox(
        *tool, L"OK",
        {{L"Error", L"Invalid wallpaper, select only '*.bmp' files.", ba::MessageIcon::Question}},
        [](auto&) { ba::saveScreenshot(nullptr, L"config_invalid_wallpaper"); }));
    EXPECT_EQ(slotText(3), "Selected Image # Sunset.bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(3)), fs::readFile(sunset));

    // A cancel changes nothing and says nothing.
    cancelPick(6);
    EXPECT_EQ(slotText(6), "Click here to add image...");
    EXPECT_FALSE(fs::fileExists(paths::wallpaper(6)));
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 500ms));

    // A copy that fails: named in a message, and the tool goes on as it was.
    std::filesystem::remove(hostPath(paths::wallpaper(4)));
    std::filesystem::create_directory(hostPath(paths::wallpaper(4)));
    pick(4, sunset);
    ASSERT_TRUE(answerNextBox(*tool, L"OK", {}, [&](const ba::MessageBoxInfo& box) {
        EXPECT_NE(box.prompt.find(L"# 4"), std::wstring::npos) << text::narrow(box.prompt);
        EXPECT_NE(box.prompt.find(text::widen(sunset)), std::wstring::npos);
        EXPECT_EQ(box.icon, ba::MessageIcon::Stop);
    }));
    EXPECT_TRUE(tool->running());
    EXPECT_EQ(slotText(4), "Selected Image # x.abmp");
    EXPECT_EQ(slotText(3), "Selected Image # Sunset.bmp");
}

// The folders there already and the marker hidden: a first run all the same.
TEST_F(ConfigSession, PreviewShowsTheStoredBitmapsAndKeepsTheLastOne) {
    std::filesystem::create_directories(hostPath(paths::wallpapersDir()));
    std::filesystem::create_directories(hostPath(paths::scriptDir()));
    fs::writeFileAtomically(paths::okNote(), "");
    SetFileAttributesW(hostPath(paths::okNote()).c_str(), FILE_ATTRIBUTE_HIDDEN);
    fs::writeFileAtomically(paths::wallpaper(2), bitmap(20, 160, 40));
    startTool();
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(slotText(n), "Click here to add image...") << n;
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 0ms));
    const ba::Pixels placeholder = preview();

    hover(2);  // a bitmap from before, though the caption is the placeholder
    expectPreviewCentre(colour(20, 160, 40));
    // A blank part of the window keeps slot 2's picture.
    POINT blank{350, 500};
    ASSERT_EQ(ChildWindowFromPointEx(window, blank, CWP_SKIPINVISIBLE), window);
    ClientToScreen(window, &blank);
    ba::pointerTo(blank);
    Sleep(200);
    expectPreviewCentre(colour(20, 160, 40));
    hover(5);
    EXPECT_EQ(ba::readUntil([&] { return preview().rgb; }, placeholder.rgb), placeholder.rgb);

    // Stretched to the image's size: each quarter of a wide picture fills a
    // quarter of the preview.
    const std::string wide = std::string(kPicturesDir) + "\\wide.bmp";
    fs::writeFileAtomically(wide, quarters(40, 10));
    pick(7, wide);
    hover(7);
    ba::waitUntil([&] { return preview().at(3, 3) == colour(255, 0, 0); }, 10s);
    const ba::Pixels stretched = preview();
    const LONG right = stretched.width - 4, bottom = stretched.height - 4;
    EXPECT_EQ(stretched.at(3, 3), colour(255, 0, 0));
    EXPECT_EQ(stretched.at(right, 3), colour(0, 255, 0));
    EXPECT_EQ(stretched.at(3, bottom), colour(0, 0, 255));
    EXPECT_EQ(stretched.at(right, bottom), colour(255, 255, 0));
    EXPECT_EQ(stretched.at(right / 4, bottom / 4), colour(255, 0, 0));
    EXPECT_EQ(stretched.at(right * 3 / 4, bottom * 3 / 4), colour(255, 255, 0));

    pick(5, putPicture("five.bmp", 30, 60, 220));
    hover(5);
    expectPreviewCentre(colour(30, 60, 220), "the new picture, right after the pick");
    // Leaving the slots keeps the picture.
    ba::pointerTo(ba::centreOf(button(L"&Save")));
    Sleep(200);
    expectPreviewCentre(colour(30, 60, 220));
    // Rewritten while another slot shows: the slot's kept picture gives way.
    hover(2);
    fs::writeFileAtomically(paths::wallpaper(5), bitmap(200, 100, 0));
    hover(5);
    expectPreviewCentre(colour(200, 100, 0));
    // Its bitmap gone, the slot shows the placeholder though its caption
    // names the pick.
    hover(2);
    std::filesystem::remove(hostPath(paths::wallpaper(5)));
    hover(5);
    EXPECT_EQ(ba::readUntil([&] { return preview().rgb; }, placeholder.rgb), placeholder.rgb);
    EXPECT_EQ(slotText(5), "Selected Image # five.bmp");

    // A file that is no picture: the marked image, no message, still running.
    pick(6, putPicture("broken.bmp", 0, 0, 0));
    hover(6);
    expectPreviewCentre(colour(0, 0, 0));
    hover(2);
    fs::writeFileAtomically(paths::wallpaper(6), "not a bitmap, though named one");
    hover(6);
    hover(6);
    const ba::Pixels marked = preview();
    EXPECT_NE(marked.rgb, placeholder.rgb);
    EXPECT_NE(marked.at(107, 63), colour(30, 60, 220));
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 300ms));
    EXPECT_TRUE(tool->running());
    EXPECT_EQ(slotText(6), "Selected Image # broken.bmp");
    ba::saveScreenshot(window, L"config_cannot_show");
}

TEST_F(ConfigSession, SaveWantsTenAndWritesNotesTheRichEditReads) {
    startTool();
    for (int n = 1; n <= 9; ++n) {
        std::string name = "p";
        name += std::to_string(n);
        name += ".bmp";
        pick(n, putPicture(name, static_cast<unsigned char>(n * 20), 100, 50));
    }
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(answerNextBox(*tool, L"OK",
                              {{L"Error", L"Please select 10 Wallpapers as your Top 10.",
                                ba::MessageIcon::Information}}));
    EXPECT_TRUE(std::filesystem::is_empty(hostPath(paths::scriptDir())));
    EXPECT_FALSE(fs::fileExists(paths::okNote()));
    EXPECT_FALSE(fs::fileExists(paths::speedNote()));

    pick(10, putPicture("p10.bmp", 250, 100, 50));
    hover(4);
    Sleep(300);
    ba::saveScreenshot(window, L"config_ten_filled");
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(ba::waitUntil([] { return fs::fileExists(paths::speedNote()); }, 5s));
    EXPECT_FALSE(ba::waitForMessageBox(tool->id(), 300ms));
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(richEditText(paths::captionNote(n)),
                  "Selected Image # p" + std::to_string(n) + ".bmp");
    EXPECT_TRUE(richEditText(paths::okNote()).has_value());
    EXPECT_EQ(richEditText(paths::speedNote()), "1000");

    const std::string before = fs::readFile(paths::captionNote(10));
    std::filesystem::remove(hostPath(paths::speedNote()));
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(ba::waitUntil([] { return fs::fileExists(paths::speedNote()); }, 5s));
    EXPECT_EQ(fs::readFile(paths::captionNote(10)), before);

    // A pick, then the close box: the new bitmap stays, the slot's note
    // keeps the saved caption, and the next start shows that caption.
    const std::string again = putPicture("again.bmp", 9, 99, 199);
    pick(1, again);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(tool->waitForExit(5s).has_value());
    EXPECT_EQ(fs::readFile(paths::wallpaper(1)), fs::readFile(again));
    EXPECT_EQ(richEditText(paths::captionNote(1)), "Selected Image # p1.bmp");
    startTool();
    EXPECT_EQ(slotText(1), "Selected Image # p1.bmp");

    // A folder where the speed note belongs: said, and the marker stays written.
    std::filesystem::remove(hostPath(paths::speedNote()));
    std::filesystem::create_directory(hostPath(paths::speedNote()));
    ba::pointerClick(ba::centreOf(button(L"&Save")));
    ASSERT_TRUE(answerNextBox(*tool, L"OK", {}, [](const ba::MessageBoxInfo& box) {
        EXPECT_NE(box.prompt.find(L"speed.note"), std::wstring::npos) << text::narrow(box.prompt);
    }));
    EXPECT_TRUE(tool->running());
}

TEST_F(ConfigSession, ExitAsksAboutOpensOnceAndTheCloseBoxEndsWithoutAsking) {
    startTool();
    const std::string one = putPicture("one.bmp", 1, 1, 1);
    pick(1, one);
    clickThumb();
    ba::pressKey(VK_END);
    ASSERT_TRUE(ba::waitUntil([&] { return sliderValue() == 10000; }, 2s));
    ba::pointerClick(ba::centreOf(button(L"&Exit")));
    ASSERT_TRUE(answerNextBox(
        *tool, L"No",
        {{L"Brenlo Vistrel", L"Do you want unload brenlo vistrel?", ba::MessageIcon::Question}}));
    Sleep(300);
    EXPECT_TRUE(tool->running());
    EXPECT_EQ(slotText(1), "Selected Image # one.bmp");
    EXPECT_EQ(fs::readFile(paths::wallpaper(1)), fs::readFile(one));
    EXPECT_EQ(sliderValue(), 10000);
    EXPECT_TRUE(IsWindowVisible(window));

    ba::pointerClick(ba::centreOf(button(L"&About")));
    HWND about = ba::findWindow(L"About Vistrel v1.0", 5s);
    ASSERT_NE(about, nullptr);
    Sleep(300);
    ba::saveScreenshot(about, L"config_about");
    ba::click(button(L"&About"));  // the main window stays usable
    Sleep(500);
    int count = 0;
    for (HWND w : ba::topLevelWindows(tool->id()))
        if (IsWindowVisible(w) && ba::windowText(w) == L"About Vistrel v1.0")
            ++count;
    EXPECT_EQ(count, 1);

    PostMessageW(window, WM_CLOSE, 0, 0);  // the close box
    EXPECT_TRUE(tool->waitForExit(5s).has_value());
    EXPECT_FALSE(IsWindow(about));
}

TEST_F(ConfigSession, ExitYesEndsTheTool) {
    startTool();
    ba::pointerClick(ba::centreOf(button(L"&Exit")));
    ASSERT_TRUE(answerNextBox(*tool, L"Yes"));
    EXPECT_TRUE(tool->waitForExit(5s).has_value());
}

}  // namespace
}  // namespace bv::testing
