#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

// Answers the modal boxes a test provokes: records each message box and presses its default
// button; other modal dialogs go to onDialog (and are left alone without one).
class Boxcatcher {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QWidget* parent;
        int buttonCount;
    };

    Boxcatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
        m_timer.start(5);
    }

    QList<Box> boxes;
    std::function<void(QDialog*)> onDialog;
    // Called while a message box is open, before it is answered.
    std::function<void()> onBox;

    QStringList texts() const
    {
        QStringList list;
        for (const Box& box : boxes)
            list << box.text;
        return list;
    }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (!box->isVisible())
                return;
            boxes.append({ box->windowTitle(), box->text(), box->icon(), box->parentWidget(),
                int(box->buttons().size()) });
            if (onBox)
                onBox();
            if (QPushButton* button = box->defaultButton())
                button->click();
            else
                box->accept();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            if (onDialog && dialog->isVisible())
                onDialog(dialog);
        }
    }

    QTimer m_timer;
};
