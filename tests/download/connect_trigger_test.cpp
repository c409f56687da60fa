// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// When the link coming up starts a download by itself.
#include "download/connect_trigger.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

const QDateTime Morning(QDate(2007, 4, 10), QTime(7, 0));
const LinkState Down{true, false, false};
const LinkState Up{true, true, false};
const LinkState MeteredUp{true, true, true};
const ConnectTrigger::Wishes Wanted{true, false};

struct Trigger {
    FixedClock clock{Morning};
    ConnectTrigger trigger{clock};

    bool comesUp(LinkState up = Up, ConnectTrigger::Wishes wishes = Wanted, bool idle = true) {
        trigger.linkChanged(Down, wishes, idle);
        return trigger.linkChanged(up, wishes, idle);
    }
    void later(int minutes) { clock.set(clock.now().addSecs(60 * minutes)); }
};

// Only the link coming up starts a download, and only when it is wanted, the window is idle and
// the link is not metered or a metered one is allowed.
TEST(ConnectTrigger, OnlyALinkComingUpStartsAWantedDownload) {
    Trigger t;
    EXPECT_FALSE(t.trigger.linkChanged(LinkState{}, Wanted, true)) << "nothing known yet";
    EXPECT_FALSE(t.trigger.linkChanged(Up, Wanted, true)) << "up when first told: the program just started";
    EXPECT_FALSE(t.trigger.linkChanged(Up, Wanted, true)) << "still up";
    EXPECT_FALSE(t.comesUp(Up, {false, false}));
    EXPECT_FALSE(t.comesUp(Up, Wanted, false)) << "a window busy with another action lets it pass";
    EXPECT_FALSE(t.comesUp(MeteredUp));
    EXPECT_TRUE(t.comesUp(MeteredUp, {true, true}));
}

TEST(ConnectTrigger, AtMostOnceAnHourWhateverTheLinkDoes) {
    Trigger t;
    t.trigger.linkChanged(Down, Wanted, true);
    EXPECT_TRUE(t.comesUp());
    t.later(30);
    EXPECT_FALSE(t.comesUp());
    t.later(29);
    EXPECT_FALSE(t.comesUp());
    t.later(1);
    EXPECT_TRUE(t.comesUp());
    // A clock set back a day does not hold the next start for a day.
    t.later(-24 * 60);
    EXPECT_TRUE(t.comesUp());
}

} // namespace
