#pragma once

#include "session/prompter.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace tql::test {

// Plays the operator at the modal boxes: answers come from queues, and every box shown is
// recorded. A box with no scripted answer is answered Cancel / empty, like a closed box.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
        QString defaultText;  // input boxes only
    };

    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::deque<QString> fileNames;
    std::vector<Shown> messages;
    std::vector<Shown> inputBoxes;
    int fileDialogs = 0;
    std::vector<QString> fileStarts;   // the file each dialog offered
    std::function<void()> whileShown;  // runs while each message box is up

    Answer message(QWidget*, const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override {
        messages.push_back({text, title, buttons, icon, {}});
        if (whileShown) {
            whileShown();
        }
        return next(answers, Answer::Cancel);
    }
    QString inputBox(QWidget*, const QString& prompt, const QString& title,
                     const QString& defaultText) override {
        inputBoxes.push_back({prompt, title, Buttons::OkCancel, Icon::None, defaultText});
        return next(inputs, QString());
    }
    QString saveFileName(QWidget*, const QString&, const QString& start) override {
        return fileDialog(start);
    }
    QString openFileName(QWidget*, const QString&, const QString& start) override {
        return fileDialog(start);
    }

private:
    QString fileDialog(const QString& start) {
        ++fileDialogs;
        fileStarts.push_back(start);
        return next(fileNames, QString());
    }
    template <typename T>
    static T next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace tql::test
