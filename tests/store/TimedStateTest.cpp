#include "StoreFixture.h"

namespace corvane::test {
namespace {

class PauseTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        store->onPauseChanged = [this](bool paused) { told.append(paused); };
    }
    QList<bool> told;
};

TEST_F(PauseTest, ATimedPauseResumesAtItsEnd)
{
    store->pause(600);
    EXPECT_TRUE(store->isPaused());
    EXPECT_EQ(store->pauseEnd(), clock.now().addSecs(600));
    clock.advance(599'000);
    EXPECT_TRUE(store->isPaused());
    clock.advance(1'000);
    EXPECT_FALSE(store->isPaused());
    EXPECT_FALSE(store->pauseEnd().isValid());
    EXPECT_EQ(told, (QList<bool>{true, false}));
}

TEST_F(PauseTest, ALaterPauseReplacesTheEarlierResume)
{
    store->pause(600);
    store->pause(); // indefinitely
    clock.advance(700'000);
    EXPECT_TRUE(store->isPaused());

    store->pause(600);
    store->pause(60);
    clock.advance(60'000);
    EXPECT_FALSE(store->isPaused());
    store->pause(0); // no duration: until resumed
    clock.advance(1'000'000);
    EXPECT_TRUE(store->isPaused());
}

TEST_F(PauseTest, ResumeCancelsThePendingResume)
{
    store->pause(600);
    store->resume();
    store->pause();
    clock.advance(600'000);
    EXPECT_TRUE(store->isPaused());
    EXPECT_EQ(told, (QList<bool>{true, false, true}));
}

class NoticeTest : public StoreFixture
{ };

TEST_F(NoticeTest, InfoAndWarningExpireAfterTheirTimes)
{
    store->showNotice(QStringLiteral("info"), Notice::Kind::info);
    clock.advance(1'599);
    EXPECT_TRUE(store->notice());
    clock.advance(1);
    EXPECT_FALSE(store->notice());

    store->showNotice(QStringLiteral("warning"), Notice::Kind::warning);
    clock.advance(2'999);
    EXPECT_TRUE(store->notice());
    clock.advance(1);
    EXPECT_FALSE(store->notice());
}

TEST_F(NoticeTest, AnOlderExpiryDoesNotClearANewerNotice)
{
    store->showNotice(QStringLiteral("first"), Notice::Kind::info);
    clock.advance(1'000);
    store->showNotice(QStringLiteral("second"), Notice::Kind::warning);
    clock.advance(1'000); // past the first notice's 1.6 s
    EXPECT_EQ(noticeMessage(), QStringLiteral("second"));
    clock.advance(2'000);
    EXPECT_FALSE(store->notice());
}

class RevealTest : public StoreFixture
{ };

TEST_F(RevealTest, ARevealedSecretIsMaskedAgainAfterAMinute)
{
    const std::int64_t secret = addText(QStringLiteral("hunter2-password"), 0, ClipGroup::secret);
    store->reveal(secret);
    EXPECT_TRUE(store->isRevealed(secret));
    clock.advance(30'000);
    store->reveal(secret); // hides
    store->reveal(secret); // shows again with a fresh minute
    clock.advance(59'000);
    EXPECT_TRUE(store->isRevealed(secret));
    clock.advance(1'000);
    EXPECT_FALSE(store->isRevealed(secret));
}

TEST_F(RevealTest, HideAllCancelsEveryRehide)
{
    const std::int64_t one = addText(QStringLiteral("token-one"), 10, ClipGroup::secret);
    const std::int64_t two = addText(QStringLiteral("token-two"), 0, ClipGroup::secret);
    store->reveal(one);
    store->reveal(two);
    store->hideAllSecrets();
    EXPECT_TRUE(store->revealedSecrets().isEmpty());
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(RevealTest, SearchSeesASecretsTextOnlyWhileRevealed)
{
    const std::int64_t secret = addText(QStringLiteral("zebra-credential"), 0, ClipGroup::secret);
    EXPECT_TRUE(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra")).isEmpty());
    store->reveal(secret);
    EXPECT_EQ(ids(store->visibleClips(ClipFilter::all(), QStringLiteral("zebra"))), QList<std::int64_t>{secret});
}

} // namespace
} // namespace corvane::test
