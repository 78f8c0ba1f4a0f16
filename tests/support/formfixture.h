#pragma once

#include "support/polltimer.h"
#include "support/scriptedline.h"
#include "support/scriptedprompter.h"
#include "window/form1.h"
#include "window/programpanel.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace tql::test {

// A further controller of a cell on a script of its own.
struct ScriptedMeans final : ControllerMeans {
    ScriptedLine scripted;
    RecordingSleeper sleeps;
    SerialLine& line() override { return scripted; }
    Sleeper& sleeper() override { return sleeps; }
    QThread* thread() override { return nullptr; }
};

// The main window with a scripted operator and a scripted controller, in a folder of its
// own (DATA.TXT, and the trace file and the operator's settings through HOME), shown
// offscreen. The controllers a cell adds are scripted too, their lines in cellLines.
struct FormFixture {
    ScriptedPrompter prompter;
    ScriptedLine line;
    RecordingSleeper sleeper;
    QTemporaryDir dir;
    std::vector<ScriptedLine*> cellLines;  // in the order the controllers joined
    std::unique_ptr<FORM1> form;

    explicit FormFixture(const QByteArray& settings = {}) {
        qputenv("HOME", dir.path().toLocal8Bit());
        if (!settings.isNull()) {
            QFile file(dir.filePath("DATA.TXT"));
            file.open(QIODevice::WriteOnly);
            file.write(settings);
        }
        form = std::make_unique<FORM1>(prompter, line, sleeper, QDir(dir.path()), nullptr, [this] {
            auto means = std::make_unique<ScriptedMeans>();
            cellLines.push_back(&means->scripted);
            return means;
        });
        form->show();
    }

    Program& program() const { return form->program(); }
    EntryMemory& memory() const { return form->findChild<ProgramPanel*>()->entryMemory(); }

    // A control by its name, the main window's own before its dialogs'.
    template <typename T = QWidget>
    T* find(const QString& name) const {
        T* widget = form->findChild<T*>(name);
        if (widget == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return widget;
    }
    QTreeWidget* list() const { return find<QTreeWidget>("ListView1"); }
    QString text(const QString& field) const { return find<QLineEdit>(field)->text(); }
    QString panel(int n) const { return find<QLabel>(QString("StatusBar1(%1)").arg(n))->text(); }

    void click(const QString& button) const {
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
    }
    void trigger(const QString& action) const { form->findChild<QAction*>(action)->trigger(); }
    void clickRow(int row) const {
        QTreeWidgetItem* item = list()->topLevelItem(row - 1);
        if (item == nullptr) {
            qFatal("no list item %d", row);
        }
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
    }
    // Rows put straight into the table and listed, as a loaded program would be.
    void load(const QList<Row>& rows) const {
        ProgramTable table = program().table();
        int count = program().RowCounter();
        for (const Row& row : rows) {
            table[++count] = row;
        }
        const int current = program().CurrentRow();
        program().load(table, count);
        program().setCurrentRow(current);
    }
    QStringList keywords() const {
        QStringList result;
        for (int i = 1; i <= program().RowCounter(); ++i) {
            result << program().row(i)[0];
        }
        return result;
    }
    QStringList messages() const {
        QStringList texts;
        for (const auto& m : prompter.messages) {
            texts << m.text;
        }
        return texts;
    }
};

}  // namespace tql::test
