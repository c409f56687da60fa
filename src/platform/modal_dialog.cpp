// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/modal_dialog.h"

#include <QDialog>
#include <QPointer>
#include <coroutine>
#include <memory>

namespace {

// Resumes its coroutine once, when the dialog is finished or destroyed; from the event loop, so
// that the dialog is no longer inside the call that ended it.
class DialogEnd final {
public:
    explicit DialogEnd(QDialog* dialog) : m_dialog(dialog), m_wait(std::make_unique<Wait>()) {}

    bool await_ready() const noexcept { return !m_dialog || !m_dialog->isVisible(); }

    void await_suspend(std::coroutine_handle<> waiting) {
        Wait* wait = m_wait.get();
        wait->finished = QObject::connect(m_dialog, &QDialog::finished, &wait->context,
                                          [wait, waiting](int result) { wait->end(waiting, result); });
        wait->destroyed = QObject::connect(m_dialog, &QObject::destroyed, &wait->context,
                                           [wait, waiting] { wait->end(waiting, std::nullopt); });
    }

    std::optional<int> await_resume() const { return m_wait->result; }

private:
    // Apart from the awaiter, which the coroutine machinery may move before it suspends.
    struct Wait {
        void end(std::coroutine_handle<> waiting, std::optional<int> ended) {
            QObject::disconnect(finished);
            QObject::disconnect(destroyed);
            result = ended;
            QMetaObject::invokeMethod(
                &context, [waiting] { waiting.resume(); }, Qt::QueuedConnection);
        }

        // Lives as long as the wait, and takes the connections with it.
        QObject context;
        QMetaObject::Connection finished;
        QMetaObject::Connection destroyed;
        std::optional<int> result;
    };

    QPointer<QDialog> m_dialog;
    std::unique_ptr<Wait> m_wait;
};

} // namespace

QCoro::Task<std::optional<int>> showModally(QDialog* dialog) {
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setResult(0);
    dialog->show();
    co_return co_await DialogEnd(dialog);
}
