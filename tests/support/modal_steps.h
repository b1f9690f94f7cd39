// Acting on a modal dialog from inside its own modal loop, and catching error boxes.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "dialogs_testing.h"

// Runs `action` on the next modal widget of type T as soon as it shows.
// When none shows within five seconds the test fails and whatever modal
// widget is up is closed, so that a broken dialog cannot hang the run.
template <class T>
void onNextModal(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, polls, action] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* wanted = dynamic_cast<T*>(modal);
        if (wanted == nullptr || !wanted->isVisible()) {
            if (++*polls < 1000) return;
            ADD_FAILURE() << "no modal widget of the expected type showed";
            if (modal != nullptr) modal->close();
        } else {
            action(wanted);
        }
        timer->stop();
        timer->deleteLater();
    });
    timer->start(5);
}

// What a message box showed.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// While it lives, every error box is answered with OK without being shown,
// and what it would have shown is kept.
class MessageWatch {
public:
    MessageWatch() {
        setErrorBoxAnswererForTests([this](const QMessageBox& box) {
            m_shown.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
        });
    }
    ~MessageWatch() { setErrorBoxAnswererForTests({}); }
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;

    const std::vector<ShownMessage>& shown() const { return m_shown; }

private:
    std::vector<ShownMessage> m_shown;
};

// The one way every error message of the dialogs looks.
inline void expectErrorBox(const ShownMessage& shown, const QString& text) {
    EXPECT_EQ(shown.title.toStdString(), "Ostrel");
    EXPECT_EQ(shown.text.toStdString(), text.toStdString());
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}
