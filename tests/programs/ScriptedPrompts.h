#pragma once
// Stand-ins for the operator in procedure tests: scripted answers to questions and file dialogs,
// and a record of everything asked.
#include "programs/MemoryView.h"
#include "programs/OperatorPrompts.h"
#include "programs/PresetView.h"

#include <QStringList>
#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

struct ScriptedPrompts : OperatorPrompts {
    struct Asked {
        Icon icon;
        Buttons buttons;
        QString text;
        QString caption;
    };
    std::vector<Asked> asked;
    // Answers in order; when none is left, a box answers Cancel, No or its lone OK.
    std::deque<Answer> answers;
    // Paths the dialogs return in order; when none is left, the dialog is cancelled.
    std::deque<QString> openFiles;
    std::deque<QString> saveFiles;
    QStringList openFilters, saveFilters;
    // Runs while a box or dialog is on screen (an operator clicking elsewhere meanwhile).
    std::function<void()> whileShown;

    Answer ask(Icon icon, Buttons buttons, const QString& text, const QString& caption) override
    {
        asked.push_back({icon, buttons, text, caption});
        if (whileShown)
            whileShown();
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    QString chooseOpenFile(const QString& filter) override
    {
        openFilters << filter;
        if (whileShown)
            whileShown();
        return take(openFiles);
    }
    QString chooseSaveFile(const QString& filter) override
    {
        saveFilters << filter;
        if (whileShown)
            whileShown();
        return take(saveFiles);
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& a : asked)
            out << a.text;
        return out;
    }

private:
    static QString take(std::deque<QString>& q)
    {
        if (q.empty())
            return {};
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

struct ScriptedMemoryView : MemoryView {
    struct NameAnswer {
        bool ok = true;                // closed with OK
        std::optional<QString> typed;  // what the operator leaves in the box
    };
    std::array<std::pair<QString, QString>, 17> rows{};
    std::vector<int> shownRows; // every showRow, in order
    int selected = 1;
    std::vector<int> selections;
    bool enabled = true;
    std::vector<bool> enabledChanges;
    QString name = QStringLiteral("Preset ");
    std::deque<NameAnswer> nameAnswers; // when none is left: OK with the text as it is
    std::vector<QString> nameAtShow;
    std::function<void()> whileNameDialog;
    int closes = 0;
    int replaced = 0;

    ScriptedMemoryView()
    {
        for (int p = 1; p <= 16; ++p)
            rows[std::size_t(p)] = {QString::number(p), QString()};
    }
    void showRow(int program, const QString& number, const QString& n) override
    {
        rows[std::size_t(program)] = {number, n};
        shownRows.push_back(program);
    }
    void selectRow(int program) override
    {
        selected = program;
        selections.push_back(program);
    }
    int selectedProgram() const override { return selected; }
    void setOperationsEnabled(bool e) override
    {
        enabled = e;
        enabledChanges.push_back(e);
    }
    void setNameText(const QString& text) override { name = text; }
    QString nameText() const override { return name; }
    bool runNameDialog() override
    {
        nameAtShow.push_back(name);
        if (whileNameDialog)
            whileNameDialog();
        if (nameAnswers.empty())
            return true;
        const NameAnswer a = nameAnswers.front();
        nameAnswers.pop_front();
        if (a.typed)
            name = *a.typed;
        return a.ok;
    }
    void closeWindow() override { ++closes; }
    void settingsReplaced() override { ++replaced; }
};

struct ScriptedPresetView : PresetView {
    std::vector<bool> newOpenEnabled;
    int replaced = 0;
    void setNewOpenEnabled(bool e) override { newOpenEnabled.push_back(e); }
    void settingsReplaced() override { ++replaced; }
};
