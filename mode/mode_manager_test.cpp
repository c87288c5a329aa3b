#include "mode/mode_manager.h"

#include "platform/ticks.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A mode that writes "<name>.<operation>" into a shared log and answers with preset codes.
class Probe final : public Sivra {
  public:
    Probe(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

    std::int32_t entry() override { return record("entry", on_entry); }
    std::int32_t close() override {
        if (during_close) during_close();
        return record("close", on_close);
    }
    std::int32_t evaluate(std::int32_t frameTime) override {
        times.push_back(frameTime);
        return record("evaluate", on_evaluate);
    }
    std::int32_t render() override {
        if (render_sleep_ms > 0) platform::sleep_ms(render_sleep_ms);
        return record("render", on_render);
    }

    std::int32_t on_entry = MODE_OK, on_close = MODE_OK, on_evaluate = MODE_OK, on_render = MODE_OK;
    std::uint32_t render_sleep_ms = 0;
    std::function<void()> during_close;
    std::vector<std::int32_t> times; // frameTime values seen by evaluate

  private:
    std::int32_t record(const char* op, std::int32_t code) {
        log_.push_back(name_ + "." + op);
        return code;
    }
    std::string name_;
    std::vector<std::string>& log_;
};

// Overrides only render, so the other three answer with the base class's default.
class RenderOnly final : public Sivra {
  public:
    std::int32_t render() override {
        ++renders;
        return MODE_NOT_IMPLEMENTED;
    }
    int renders = 0;
};

using Log = std::vector<std::string>;

// The manager holds 65,536 pointers; keep it off the test's stack.
std::unique_ptr<ModeManager> make_manager() {
    return std::make_unique<ModeManager>();
}

} // namespace

TEST(ModeManagerSlots, FreshManagerAndSlotAssignment) {
    auto m = make_manager();
    EXPECT_EQ(m->current_mode(), MODE_ERR_NONE);
    EXPECT_EQ(m->frameTime, 1);
    EXPECT_EQ(m->frameCount, 0);
    EXPECT_FALSE(m->quit);

    Log log;
    Probe a("a", log), b("b", log);
    EXPECT_EQ(m->add_mode(nullptr), MODE_ERR_ARG);
    EXPECT_EQ(m->add_mode(&a), 0);
    EXPECT_EQ(m->add_mode(&b), 1);
    EXPECT_EQ(m->set_mode(0, nullptr), MODE_OK);
    EXPECT_EQ(m->add_mode(&b), 0); // the first empty slot again
    EXPECT_EQ(m->set_mode(65535, &a), MODE_OK);
    EXPECT_EQ(m->slots[65535], &a);
    EXPECT_EQ(m->set_mode(65536, &a), MODE_ERR_ARG);
    EXPECT_EQ(m->set_mode(-1, &a), MODE_ERR_ARG);
    EXPECT_TRUE(log.empty()) << "registering called a mode";
}

TEST(ModeManagerSlots, AFullTableRefusesAnotherMode) {
    auto m = make_manager();
    Log log;
    Probe a("a", log);
    for (std::int32_t i = 0; i < 65536; ++i)
        ASSERT_EQ(m->set_mode(i, &a), MODE_OK);
    EXPECT_EQ(m->add_mode(&a), MODE_ERR_FULL);
    m->set_mode(40000, nullptr);
    EXPECT_EQ(m->add_mode(&a), 40000);
}

TEST(ModeManagerSwitch, BadOrEmptySlotsChangeNothing) {
    auto m = make_manager();
    Log log;
    Probe a("a", log);
    m->add_mode(&a);
    ASSERT_EQ(m->switch_mode(0), MODE_OK);
    log.clear();
    EXPECT_EQ(m->switch_mode(65536), MODE_ERR_ARG);
    EXPECT_EQ(m->switch_mode(-1), MODE_ERR_ARG);
    EXPECT_EQ(m->switch_mode(7), MODE_ERR_EMPTY);
    EXPECT_EQ(m->current_mode(), 0);
    EXPECT_TRUE(log.empty());
}

TEST(ModeManagerSwitch, ClosesTheOldModeThenEntersTheNew) {
    auto m = make_manager();
    Log log;
    Probe a("a", log), b("b", log);
    m->add_mode(&a);
    m->add_mode(&b);
    EXPECT_EQ(m->switch_mode(0), MODE_OK);
    EXPECT_EQ(m->switch_mode(1), MODE_OK);
    EXPECT_EQ(m->switch_mode(1), MODE_OK); // the current one again: close, then entry
    EXPECT_EQ(log, (Log{"a.entry", "a.close", "b.entry", "b.close", "b.entry"}));
    EXPECT_EQ(m->current_mode(), 1);
}

TEST(ModeManagerSwitch, QuitRequestsFromCloseOrEntryAreKept) {
    auto m = make_manager();
    Log log;
    Probe a("a", log), b("b", log);
    m->add_mode(&a);
    m->add_mode(&b);
    b.on_entry = MODE_REQ_QUIT;
    EXPECT_EQ(m->switch_mode(1), MODE_QUITTING);
    EXPECT_TRUE(m->quit);
    b.on_entry = MODE_OK;
    EXPECT_EQ(m->switch_mode(0), MODE_QUITTING); // still does its work
    EXPECT_EQ(m->current_mode(), 0);

    auto m2 = make_manager();
    m2->add_mode(&a);
    m2->add_mode(&b);
    a.on_close = MODE_REQ_QUIT;
    m2->switch_mode(0);
    log.clear();
    EXPECT_EQ(m2->switch_mode(1), MODE_QUITTING);
    EXPECT_EQ(log, (Log{"a.close", "b.entry"}));

    // Other codes mean nothing to the manager.
    auto m3 = make_manager();
    m3->add_mode(&b);
    b.on_entry = MODE_REQ_QUIT_SKIP;
    EXPECT_EQ(m3->switch_mode(0), MODE_OK);
    b.on_entry = MODE_ERR_ARG;
    EXPECT_EQ(m3->switch_mode(0), MODE_OK);
}

TEST(ModeManagerSwitch, AnEmptiedCurrentSlotIsNotClosed) {
    auto m = make_manager();
    Log log;
    Probe a("a", log), b("b", log);
    m->add_mode(&a);
    m->add_mode(&b);
    m->switch_mode(0);
    m->set_mode(0, nullptr);
    log.clear();
    EXPECT_EQ(m->switch_mode(1), MODE_OK);
    EXPECT_EQ(log, (Log{"b.entry"}));
}

TEST(ModeManagerSwitch, TheTargetSlotIsReadAgainAfterClose) {
    auto m = make_manager();
    Log log;
    Probe a("a", log), b("b", log), c("c", log);
    m->add_mode(&a);
    m->add_mode(&b);
    m->switch_mode(0);
    a.during_close = [&] { m->set_mode(1, &c); };
    log.clear();
    EXPECT_EQ(m->switch_mode(1), MODE_OK);
    EXPECT_EQ(log, (Log{"a.close", "c.entry"}));

    // A close that empties the target leaves nobody to enter.
    m->switch_mode(0);
    a.during_close = [&] { m->set_mode(1, nullptr); };
    log.clear();
    EXPECT_EQ(m->switch_mode(1), MODE_ERR_EMPTY);
    EXPECT_EQ(log, (Log{"a.close"}));
    EXPECT_EQ(m->frame(), MODE_ERR_NONE);
}

TEST(ModeManagerFrame, WithoutACurrentModeNothingIsCalled) {
    auto m = make_manager();
    Log log;
    Probe a("a", log);
    m->add_mode(&a);
    EXPECT_EQ(m->frame(), MODE_ERR_NONE);
    EXPECT_EQ(m->frameCount, 0);

    m->switch_mode(0);
    m->set_mode(0, nullptr);
    log.clear();
    EXPECT_EQ(m->frame(), MODE_ERR_NONE);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(m->frameCount, 0);
    EXPECT_EQ(m->current_mode(), 0);
}

TEST(ModeManagerFrame, EvaluateCodesDecideRenderAndQuit) {
    struct Case {
        std::int32_t evaluate;
        bool rendered;
        std::int32_t result;
    };
    for (Case c : {Case{MODE_OK, true, MODE_OK}, Case{MODE_REQ_SKIP, false, MODE_OK},
                   Case{MODE_REQ_QUIT_SKIP, false, MODE_QUITTING}, Case{MODE_REQ_QUIT, true, MODE_QUITTING},
                   Case{MODE_NOT_IMPLEMENTED, true, MODE_OK}, Case{MODE_ERR_EMPTY, true, MODE_OK}}) {
        auto m = make_manager();
        Log log;
        Probe a("a", log);
        a.on_evaluate = c.evaluate;
        m->switch_mode(m->add_mode(&a));
        log.clear();
        EXPECT_EQ(m->frame(), c.result) << c.evaluate;
        EXPECT_EQ(log, (c.rendered ? Log{"a.evaluate", "a.render"} : Log{"a.evaluate"})) << c.evaluate;
        EXPECT_EQ(m->frameCount, 1);
    }
}

TEST(ModeManagerFrame, RenderAskingToQuitEndsTheLoop) {
    auto m = make_manager();
    Log log;
    Probe a("a", log);
    a.on_render = MODE_REQ_QUIT;
    m->switch_mode(m->add_mode(&a));
    EXPECT_EQ(m->frame(), MODE_QUITTING);
    a.on_render = MODE_OK;
    EXPECT_EQ(m->frame(), MODE_QUITTING); // quit is never cleared
    EXPECT_EQ(m->frameCount, 2);
}

TEST(ModeManagerFrame, RequestQuitMakesTheNextFrameQuit) {
    auto m = make_manager();
    Log log;
    Probe a("a", log);
    m->switch_mode(m->add_mode(&a));
    EXPECT_EQ(m->frame(), MODE_OK);
    EXPECT_EQ(m->request_quit(), MODE_QUITTING);
    log.clear();
    EXPECT_EQ(m->frame(), MODE_QUITTING);
    EXPECT_EQ(log, (Log{"a.evaluate", "a.render"}));
}

TEST(ModeManagerFrame, AModeThatOverridesNothingIsAnOrdinaryMode) {
    Sivra bare;
    EXPECT_EQ(bare.entry(), MODE_NOT_IMPLEMENTED);
    EXPECT_EQ(bare.close(), MODE_NOT_IMPLEMENTED);
    EXPECT_EQ(bare.evaluate(5), MODE_NOT_IMPLEMENTED);
    EXPECT_EQ(bare.render(), MODE_NOT_IMPLEMENTED);

    auto m = make_manager();
    RenderOnly r;
    EXPECT_EQ(m->switch_mode(m->add_mode(&bare)), MODE_OK);
    EXPECT_EQ(m->frame(), MODE_OK);
    EXPECT_EQ(m->switch_mode(m->add_mode(&r)), MODE_OK);
    EXPECT_EQ(m->frame(), MODE_OK);
    EXPECT_EQ(r.renders, 1);
    EXPECT_FALSE(m->quit);
}

TEST(ModeManagerTiming, EachFramePassesTheLengthOfThePreviousOne) {
    auto m = make_manager();
    Log log;
    Probe a("a", log);
    a.render_sleep_ms = 40;
    m->switch_mode(m->add_mode(&a));
    m->frame();
    m->frame();
    a.on_evaluate = MODE_REQ_SKIP; // no render: a short frame
    m->frame();
    m->frame();

    ASSERT_EQ(a.times.size(), 4u);
    EXPECT_EQ(a.times[0], 1);
    EXPECT_GE(a.times[1], 40);
    EXPECT_GE(a.times[2], 40);
    EXPECT_LT(a.times[3], 40);
    for (std::int32_t t : a.times)
        EXPECT_LT(t, 5000);
    EXPECT_GE(m->frameTime, 0);
    EXPECT_LT(m->frameTime, 40);
    EXPECT_EQ(m->frameCount, 4);
}
