#ifndef GLYPHWERK_TESTS_SCRIPTED_PROMPTS_H
#define GLYPHWERK_TESTS_SCRIPTED_PROMPTS_H

// Prompts for tests: records every question and answers from queues filled by
// the test. An unexpected question (empty queue) answers Cancel / an empty path
// and is recorded all the same, so the test can see it.

#include "prompts.h"

#include <QString>
#include <QStringList>
#include <deque>

struct ScriptedPrompts : prompts::Prompts {
    struct Box { QString text; unsigned type; };
    std::vector<Box> boxes;
    QStringList saveChangesAsked;
    std::deque<int> boxAnswers;        // default IDOK
    std::deque<QString> openAnswers;   // default "" (cancel)
    std::deque<QString> saveAnswers;   // default "" (cancel)
    QStringList saveProposals;
    std::deque<int> saveChangesAnswers; // default IDCANCEL

    ScriptedPrompts() { prompts::install(this); }
    ~ScriptedPrompts() override {
        if (prompts::currentSlot() == this)
            prompts::install(nullptr);
    }

    int messageBox(QWidget *, const QString &text, unsigned type) override {
        boxes.push_back({text, type});
        return take(boxAnswers, int(prompts::IDOK));
    }
    QString openFileName(QWidget *, const QString &) override { return take(openAnswers, QString()); }
    QString saveFileName(QWidget *, const QString &proposed, const QString &) override {
        saveProposals << proposed;
        return take(saveAnswers, QString());
    }
    int askSaveChanges(QWidget *, const QString &name) override {
        saveChangesAsked << name;
        return take(saveChangesAnswers, int(prompts::IDCANCEL));
    }

private:
    template <typename T> static T take(std::deque<T> &queue, T answer) {
        if (!queue.empty()) {
            answer = queue.front();
            queue.pop_front();
        }
        return answer;
    }
};

#endif
