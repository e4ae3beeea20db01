// Whole games driven by taps and the virtual clock.
#include "MoleTestBase.h"

#include "ce/ce.h"

#include <algorithm>
#include <string>

namespace {

// Settings with sound off and a record the test cannot beat unless it wants to.
std::u16string ConfigWith(const char16_t* sound, const char16_t* score) {
    return std::u16string(u"[Config]\r\n  isSoundOn=") + sound +
           u"\r\n[Zellik]\r\n  Version=2\r\n[Save]\r\n  Name=小儿子\r\n  Score=" + score;
}

int HammersListed() {
    int n = 0;
    for (UiPicture& h : Wnd().hammerPictures) {
        n += IsListed(h) ? 1 : 0;
    }
    return n;
}

std::vector<std::string> MoleTimerSets() {
    return TraceWith("timer-set 10 ");
}

void StartGame() {
    TapCentre(Wnd().menuButtons[0]);
}

class GamePlayTest : public MoleTestBase {};

TEST_F(GamePlayTest, GameWithoutHitsEndsAtTheSixthTick) {
    std::vector<MzTest::Step> script{[] { StartGame(); },
                                     [] {
                                         EXPECT_FALSE(GameState.inMenu);
                                         EXPECT_EQ(HammersListed(), 5);
                                         EXPECT_FALSE(IsListed(Wnd().menuButtons[0]));
                                         EXPECT_EQ(Wnd().logoPicture.GetPosY(), 56 - 400);
                                         EXPECT_FALSE(Wnd().logoPicture.IsVisible());
                                         EXPECT_TRUE(IsListed(Wnd().statusText));
                                         MzTest::ClearTrace();
                                     }};
    for (int tick = 1; tick <= 6; ++tick) {
        script.push_back([] { AdvanceToNextMole(); });
        script.push_back([tick] {
            SCOPED_TRACE(tick);
            EXPECT_EQ(GameState.molesShown, tick);
            EXPECT_EQ(GameState.misses, tick);
            EXPECT_TRUE(Wnd().moleButtons[GameState.moleHole].IsVisible());
            // Hammers leave from the right: 5 - misses stay, the leftmost ones.
            for (int i = 0; i < 5; ++i) {
                EXPECT_EQ(IsListed(Wnd().hammerPictures[i]), i < 5 - std::min(tick, 5)) << i;
            }
            const bool over = tick == 6;
            EXPECT_EQ(IsListed(Wnd().gameOverButton), over);
            if (over) {
                EXPECT_EQ(Wnd().gameOverButton.GetPosY(), 184);
                const auto t = MzTest::Trace();
                const auto kill = std::find(t.begin(), t.end(), "timer-kill 10");
                ASSERT_NE(kill, t.end());
                EXPECT_EQ(*(kill + 1), "timer-set 11 500");
                EXPECT_EQ(Narrow(Wnd().statusText.GetText()), "已打中0次 - 最高纪录:小儿子5次");
            }
        });
    }
    Run(script);
}

TEST_F(GamePlayTest, HittingEveryMoleKeepsFourHammersAndRunsAt210) {
    WriteConfigText(ConfigWith(u"0", u"1000"));
    std::vector<MzTest::Step> script{[] { StartGame(); }, [] { MzTest::ClearTrace(); }};
    for (int mole = 1; mole <= 90; ++mole) {
        script.push_back([] { AdvanceToNextMole(); });
        script.push_back([mole] {
            ASSERT_EQ(GameState.molesShown, mole);
            EXPECT_EQ(GameState.misses, 1);
            EXPECT_EQ(HammersListed(), 4);
            TapMole();
        });
    }
    script.push_back([] {
        EXPECT_EQ(GameState.hits, 90);
        EXPECT_FALSE(Wnd().moleButtons[GameState.moleHole].IsVisible());
        // Interval k is 1000 - 10 k up to mole 79, then the timer is left at 210 ms.
        std::vector<std::string> expected;
        for (int k = 1; k < 80; ++k) {
            expected.push_back("timer-set 10 " + std::to_string(1000 - 10 * k));
        }
        EXPECT_EQ(MoleTimerSets(), expected);
        EXPECT_EQ(expected[0], "timer-set 10 990");
        EXPECT_EQ(expected[9], "timer-set 10 900");
        EXPECT_EQ(expected[49], "timer-set 10 500");
        EXPECT_EQ(expected[78], "timer-set 10 210");
        // The mole after 90 comes 210 ms later, not a millisecond sooner.
        MzTest::Advance(209);
    });
    script.push_back([] {
        EXPECT_EQ(GameState.molesShown, 90);
        MzTest::Advance(1);
    });
    script.push_back([] { EXPECT_EQ(GameState.molesShown, 91); });
    Run(script);
}

TEST_F(GamePlayTest, StatusLineShowsHitsAtTheNextStepNotAtTheHit) {
    std::vector<MzTest::Step> script{
        [] { StartGame(); },
        [] { EXPECT_EQ(Narrow(Wnd().statusText.GetText()), "") << "first game: empty"; },
        [] { AdvanceToNextMole(); },
        [] { TapMole(); },
        [] {
            EXPECT_EQ(GameState.hits, 1);
            EXPECT_EQ(Narrow(Wnd().statusText.GetText()), "已打中0次 - 最高纪录:小儿子5次");
            AdvanceToNextMole();
        },
        [] { EXPECT_EQ(Narrow(Wnd().statusText.GetText()), "已打中1次 - 最高纪录:小儿子5次"); }};
    Run(script);
}

TEST_F(GamePlayTest, LongHolderNameIsCutToTheBuffer) {
    WriteConfigText(u"[Config]\r\n  isSoundOn=0\r\n[Zellik]\r\n  Version=2\r\n[Save]\r\n  Name=" +
                    std::u16string(5000, u'名') + u"\r\n  Score=5");
    Run({[] { StartGame(); }, [] { AdvanceToNextMole(); },
         [] {
             const CMzStringW text = Wnd().statusText.GetText();
             EXPECT_EQ(text.Length(), GameState.textBuf.Capacity() - 1);
             EXPECT_EQ(Narrow(text).rfind("已打中0次 - 最高纪录:名名", 0), 0u);
         }});
}

} // namespace
