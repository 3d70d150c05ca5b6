#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Answers the modal boxes a test provokes: records each message box and presses its default
// button; other modal dialogs go to onDialog. onBox runs while a box is open.
class Boxcatcher {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QWidget* parent;
    };

    Boxcatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start(5);
    }

    QList<Box> boxes;
    std::function<void(QDialog*)> onDialog;
    std::function<void()> onBox;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box && box->isVisible()) {
            boxes.append({ box->windowTitle(), box->text(), box->icon(), box->parentWidget() });
            if (onBox)
                onBox();
            box->defaultButton() ? box->defaultButton()->click() : box->accept();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal); !box && dialog && onDialog) {
            if (dialog->isVisible())
                onDialog(dialog);
        }
    }

    QTimer m_timer;
};
