#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "index/utf8.h"
#include "printers.h"
#include "recording_view.h"
#include "temp_dir.h"
#include "window/event_dispatcher.h"

namespace quillscan {
namespace {

using testing::RecordingView;
using testing::TempDir;
using Calls = std::vector<std::string>;

// The window and the link actions, writing down into one list what the dispatcher asks of them.
// A search shows in the view instead, so the list holds only the other calls.
class FakeWindow : public WindowControls, public LinkActions {
public:
    std::u16string boxText;
    std::optional<std::u16string> selection;
    RecordingView view;
    Calls calls;

    std::u16string searchText() const override { return boxText; }
    ResultView& resultView() override { return view; }
    void bindEnterShortcut() override { calls.push_back("bindEnterShortcut"); }
    void unbindEnterShortcut() override { calls.push_back("unbindEnterShortcut"); }
    std::optional<std::u16string> selectedLink() const override { return selection; }
    void showError(std::u16string_view message) override {
        calls.push_back("showError(" + utf16ToUtf8(message) + ")");
    }
    void copyLink(std::u16string_view link) override {
        calls.push_back("copyLink(" + utf16ToUtf8(link) + ")");
    }
    void openLink(std::u16string_view link) override {
        calls.push_back("openLink(" + utf16ToUtf8(link) + ")");
    }
};

const char* const kIndex =
    "abc first\r\nhttps://bbs.example.com/thread-1\r\n"
    "other\r\nhttps://bbs.example.com/thread-2\r\n"
    "last ABC\r\nhttps://bbs.example.com/thread-3\r\n";

const std::vector<ThreadEntry> kAbcRows = {
    {u"abc first", u"https://bbs.example.com/thread-1"},
    {u"last ABC", u"https://bbs.example.com/thread-3"},
};

WindowEvent closed() {
    return {.kind = EventKind::WindowClosed};
}
WindowEvent shortcut(int id) {
    return {.kind = EventKind::Shortcut, .shortcutId = id};
}
WindowEvent control(ControlId id, ControlEventType type) {
    return {.kind = EventKind::Control, .control = id, .type = type};
}

constexpr auto kBox = ControlId::SearchBox;
constexpr auto kButton = ControlId::SearchButton;
constexpr auto kList = ControlId::ResultList;
constexpr auto kOpen = ControlId::OpenLinkButton;
constexpr auto kGained = ControlEventType::FocusGained;
constexpr auto kLost = ControlEventType::FocusLost;
constexpr auto kClick = ControlEventType::LeftClick;
constexpr auto kDouble = ControlEventType::LeftDoubleClick;
constexpr auto kOther = ControlEventType::Other;
constexpr auto kLink = u"https://bbs.example.com/thread-9";

struct DispatchCase {
    const char* name;
    WindowEvent event;
    // The result list's selected link, if any.
    std::optional<std::u16string> selection = std::nullopt;
    DispatchResult result = DispatchResult::Continue;
    bool searches = false;  // a search with the box's text "abc" ran
    Calls calls = {};
};

const DispatchCase kCases[] = {
    {.name = "ClosedStops", .event = closed(), .selection = kLink, .result = DispatchResult::Stop},
    {.name = "EnterShortcutSearchesTheBoxText",
     .event = shortcut(kSearchShortcutId),
     .selection = kLink,
     .searches = true},
    {.name = "OtherShortcutDoesNothing", .event = shortcut(3), .selection = kLink},
    {.name = "SearchBoxFocusGainedBindsEnter",
     .event = control(kBox, kGained),
     .calls = {"bindEnterShortcut"}},
    {.name = "SearchBoxFocusLostUnbindsEnter",
     .event = control(kBox, kLost),
     .calls = {"unbindEnterShortcut"}},
    {.name = "SearchBoxClickDoesNothing", .event = control(kBox, kClick), .selection = kLink},
    {.name = "SearchButtonClickSearches", .event = control(kButton, kClick), .searches = true},
    {.name = "SearchButtonAnyEventSearches", .event = control(kButton, kOther), .searches = true},
    {.name = "OpenButtonWithoutSelectionComplains",
     .event = control(kOpen, kClick),
     .calls = {"showError(请选择要打开的链接)"}},
    {.name = "OpenButtonOpensTheSelectedLink",
     .event = control(kOpen, kClick),
     .selection = kLink,
     .calls = {"openLink(https://bbs.example.com/thread-9)"}},
    {.name = "OpenButtonAnyEventOpens",
     .event = control(kOpen, kOther),
     .selection = kLink,
     .calls = {"openLink(https://bbs.example.com/thread-9)"}},
    {.name = "ListClickCopiesTheSelectedLink",
     .event = control(kList, kClick),
     .selection = kLink,
     .calls = {"copyLink(https://bbs.example.com/thread-9)"}},
    {.name = "ListClickCopiesAnEmptyLink",
     .event = control(kList, kClick),
     .selection = u"",
     .calls = {"copyLink()"}},
    {.name = "ListClickWithoutSelectionDoesNothing", .event = control(kList, kClick)},
    {.name = "ListDoubleClickOpensTheSelectedLink",
     .event = control(kList, kDouble),
     .selection = kLink,
     .calls = {"openLink(https://bbs.example.com/thread-9)"}},
    {.name = "ListDoubleClickWithoutSelectionDoesNothing", .event = control(kList, kDouble)},
    {.name = "ListOtherEventDoesNothing", .event = control(kList, kOther), .selection = kLink},
    {.name = "ListFocusGainedDoesNothing", .event = control(kList, kGained), .selection = kLink},
    {.name = "StatusTextClickDoesNothing",
     .event = control(ControlId::StatusText, kClick),
     .selection = kLink},
    {.name = "OtherEventDoesNothing", .event = {.kind = EventKind::Other}, .selection = kLink},
};

class DispatchTest : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchTest, CarriesOutTheEventsAction) {
    const DispatchCase& c = GetParam();
    TempDir dir;
    const TitleSearch search(dir.write("threads.db5", kIndex));
    FakeWindow window;
    window.boxText = u" abc ";
    window.selection = c.selection;
    EventDispatcher dispatcher(window, search, window);

    EXPECT_EQ(dispatcher.dispatch(c.event), c.result);
    EXPECT_EQ(window.calls, c.calls);
    if (c.searches) {
        EXPECT_EQ(window.view.rows, kAbcRows);
    } else {
        EXPECT_EQ(window.view.calls, Calls{}) << "no search";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DispatchTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillscan
