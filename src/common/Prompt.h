#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Every message box of the program goes through one Prompt, so that tests can read and answer
// each message. The application installs a message-box implementation; tests a scripted one.
class Prompt {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

    virtual ~Prompt() = default;

    // A plain message with an OK button. An empty title means the application's title.
    virtual void message(const QString& text, const QString& title = QString(),
                         Icon icon = Icon::None) = 0;
    // A question; `defaultAnswer` is the button that Enter presses.
    virtual Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
                       Answer defaultAnswer) = 0;

    static QString appTitle() { return QStringLiteral("Corvanel"); }
};

// Records every message and answers questions from a queue (tests).
class ScriptedPrompt : public Prompt {
public:
    struct Shown {
        QString text;
        QString title;
        Prompt::Icon icon;
        bool question;
        Prompt::Buttons buttons;
        Prompt::Answer defaultAnswer;
    };

    void message(const QString& text, const QString& title, Icon icon) override;
    Answer ask(const QString& text, const QString& title, Buttons buttons, Icon icon,
               Answer defaultAnswer) override;

    // Answers for the next questions, used in order; with none left the default answer is given.
    void answer(Answer a) { answers_.append(a); }
    void answerAll(std::initializer_list<Answer> as) {
        for (Answer a : as)
            answers_.append(a);
    }

    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    QString lastText() const { return shown_.isEmpty() ? QString() : shown_.last().text; }
    int count() const { return int(shown_.size()); }
    int pendingAnswers() const { return int(answers_.size()); }
    void clear() {
        shown_.clear();
        answers_.clear();
    }

private:
    QList<Shown> shown_;
    QList<Answer> answers_;
};
