// The main window and the provider: the login asked once per action, the point forecasts of one
// spot or of all, the spot markers, and the meteogram panel of the chosen place.
#include "app/form1.h"
#include "download/chart_fetcher.h"
#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/provider_requests.h"
#include "platform/clock.h"
#include "provider/login_window.h"
#include "provider/provider_replies.h"
#include "provider/spot_markers.h"
#include "settings/registry_store.h"
#include "viewer/picture_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <chrono>
#include <qcoro/qcorotimer.h>

namespace {

constexpr int MeteogramDays = 3;

} // namespace

void Form1::connectProvider() {
    connect(linn, &QComboBox::currentIndexChanged, this, [this] { halograafikud(); });
    for (PictureBox* meteogram : {halograaf1, halograaf2, halograaf3}) {
        connect(meteogram, &PictureBox::doubleClicked, this, [this] { halograaf_DblClick(); });
    }
}

// Asked at most once per user action: a refusal or a cancel holds until the action clears
// loginkontrollitud at its end; a success holds for the rest of the run.
QCoro::Task<bool> Form1::CheckQuellanlogin() {
    if (loginkontrollitud) {
        co_return false;
    }
    if (loginolek) {
        co_return true;
    }
    QPointer<Form1> self(this);
    if (!m_login) {
        m_login = new LoginWindow(
            m_services.downloader,
            {m_services.hosts.provider, m_services.folder.chartFolder(), m_services.hosts.loginMarker},
            m_services.store, m_services.shell, this);
    }
    const QString key = QString::fromLatin1(reg::BriselKeyPath);
    const QVariant user =
        m_services.store.ReadRegValue(reg::HKEY_CURRENT_USER, key, settings_table::QuellanUser);
    const QVariant password =
        m_services.store.ReadRegValue(reg::HKEY_CURRENT_USER, key, settings_table::QuellanPassword);
    if (user.isValid()) {
        m_login->txtUserName->setText(user.toString());
    }
    if (password.isValid()) {
        m_login->txtPassword->setText(password.toString());
    }
    if (!m_login->txtUserName->text().isEmpty() && !m_login->txtPassword->text().isEmpty()) {
        const bool accepted =
            co_await m_login->CheckQuellanlogin(m_login->txtUserName->text(), m_login->txtPassword->text());
        if (!self) {
            co_return false;
        }
        m_login->LoginSucceeded = accepted;
    }
    if (!m_login->LoginSucceeded) {
        m_login->exec();
        if (!self) {
            co_return false;
        }
    }
    if (m_login->LoginSucceeded) {
        loginolek = true;
        loginkontrollitud = false;
        co_return true;
    }
    loginkontrollitud = true;
    co_return false;
}

// The last spot of that name, as the list is searched to its end.
QCoro::Task<> Form1::LoeQuellanSpot(QString SpotName) {
    const qsizetype index = spotinimed.lastIndexOf(SpotName);
    if (index >= 0) {
        co_await m_fetcher->LoeQuellanSpot(m_spots[index]);
    }
}

QCoro::Task<> Form1::loequellanyld() {
    QPointer<Form1> self(this);
    const QStringList spots = spotinimed;
    prgQuellan->setMaximum(std::max<int>(0, spots.size() - 1));
    prgQuellan->setVisible(true);
    for (int i = 0; i < spots.size(); ++i) {
        co_await LoeQuellanSpot(spots[i]);
        if (!self) {
            co_return;
        }
        prgQuellan->setValue(i);
    }
    prgQuellan->setVisible(false);
}

QCoro::Task<> Form1::halograafikud() {
    QPointer<Form1> self(this);
    co_await QCoro::sleepFor(std::chrono::milliseconds(0));
    if (!self) {
        co_return;
    }
    const QDate today = m_services.clock.today();
    PictureBox* const days[MeteogramDays] = {halograaf1, halograaf2, halograaf3};
    for (int k = 0; k < MeteogramDays; ++k) {
        const QString file = chartPath(m_services.folder.chartFolder(),
                                       spotPictureFile(today.addDays(k), linn->currentText()));
        // A missing or unreadable picture, a partial download among them, leaves the day empty.
        if (const std::optional<QPixmap> picture = loadChartPicture(file)) {
            days[k]->setPixmap(*picture);
        } else {
            days[k]->clear();
        }
    }
}

bool Form1::selectCity(const QString& name) {
    const int index = linn->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0 || index == linn->currentIndex()) {
        return false;
    }
    linn->setCurrentIndex(index);
    return true;
}

QCoro::Task<> Form1::Spot_DblClick(QString spotName) {
    QPointer<Form1> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    if (!spotName.isEmpty()) {
        co_await LoeQuellanSpot(spotName);
        if (!self) {
            co_return;
        }
        // A newly chosen entry redraws the panel itself; the one already chosen does not.
        if (!selectCity(spotName)) {
            halograafikud();
        }
    }
    loginkontrollitud = false;
}

void Form1::Spot_MouseMove(const QString& spotName) {
    if (linn->currentText() != spotName) {
        selectCity(spotName);
    }
}

QCoro::Task<> Form1::halograaf_DblClick() {
    QPointer<Form1> self(this);
    const auto action = m_actions.tryStart();
    if (!action) {
        co_return;
    }
    co_await loequellanyld();
    if (self) {
        loginkontrollitud = false;
    }
}
