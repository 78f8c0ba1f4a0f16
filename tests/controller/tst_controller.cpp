#include "controller/controller.h"

#include <QTest>

#include <string>

namespace {

std::string download(const std::vector<std::string>& lines) {
    std::string bytes =
        "\x1b\x1b"
        "DL\r";
    for (const std::string& line : lines) {
        bytes += line + "\r";
    }
    return bytes + "\r";
}

// Runs the stored program in 10 ms steps until it ends or the time is up.
double runToEnd(controller::Controller& c, double start, double limit = 60) {
    double t = start;
    c.receive("G\r", t);
    while (c.machine().running() && t < start + limit) {
        t += 0.01;
        c.machine().advance(t);
    }
    return t - start;
}

}  // namespace

class TestSimController : public QObject {
    Q_OBJECT

private slots:
    void queriesAndImmediateCommands() {
        controller::Controller c({});
        QCOMPARE(c.receive("?VM\r?VA\r?PE\r?INP\r", 0), std::string("100\r2000\r0\r0\r"));
        QCOMPARE(c.receive("VM=50\rMA 10\r", 0), std::string());
        c.machine().advance(0.1);
        QCOMPARE(c.receive("?PE\r", 0.1), std::string("5\r"));
        c.machine().advance(1);
        QCOMPARE(c.machine().position(), 10.0);
        c.receive("SET P1\rSET P3\rCLR P1\r", 1);
        QCOMPARE(c.machine().outputs(), 4);
        c.machine().setInput(8, true);
        QCOMPARE(c.receive("?INP\r", 1), std::string("128\r"));
    }

    void programWithLoopCallAndPulse() {
        controller::Controller c({});
        c.receive(
            download({"{",      "CLR VAR;", "SI #L1;",  "VM=1000;",   "#L1=3;",          "$LOOP1:;",
                      "MR 10;", "DN;",      "CALL $P;", "#L1=#L1-1;", "JNZ #L1,$LOOP1;", "JP $END;",
                      "$P:;",   "SET P2;",  "WT 100;",  "DN;",        "CLR P2;",         "RET;",
                      "$END:;", "OUTP 9;",  "}"}),
            0);
        QCOMPARE(c.machine().storedProgram().size(), size_t(21));
        const double took = runToEnd(c, 0);
        QCOMPARE(c.machine().position(), 30.0);  // three relative moves of 10
        QCOMPARE(c.machine().outputs(), 9);
        QVERIFY(took >= 0.3 && took < 0.5);  // three 100 ms pulses and short moves
    }

    void inputWaitsAndJumps() {
        controller::Controller c({});
        c.receive(download({"{", "WI 2;", "JNI 3,$OFF;", "MA 5;", "DN;", "JP $E;", "$OFF:;",
                            "MA 7;", "DN;", "$E:;", "}"}),
                  0);
        c.receive("G\r", 0);
        c.machine().advance(1);
        QVERIFY(c.machine().running());  // waiting for input 2
        c.machine().setInput(2, true);
        runToEnd(c, 1);
        QCOMPARE(c.machine().position(), 7.0);  // input 3 off: jumped

        // A call on an input returns to the statement after it; a counter below zero is
        // not zero.
        controller::Controller call({});
        call.receive(download({"{", "VM=1000;", "CI 3,$S;", "MR 1;", "DN;", "#L1=0;", "#L1=#L1-1;",
                               "JNZ #L1,$E;", "MR 100;", "DN;", "JP $E;", "$S:;", "MR 10;", "DN;",
                               "RET;", "$E:;", "}"}),
                     0);
        call.machine().setInput(3, true);
        runToEnd(call, 0, 5);
        QCOMPARE(call.machine().position(), 11.0);
        QVERIFY(!call.machine().fault());
    }

    void escapeStopsAndDownloadReplaces() {
        controller::Controller c({});
        c.receive(download({"{", "$A:;", "JP $A;", "}"}), 0);
        c.receive("G\r", 0);
        c.machine().advance(0.5);
        QVERIFY(c.machine().running());  // an endless loop does not hang the simulator
        c.receive("\x1b", 0.5);
        QVERIFY(!c.machine().running());
        c.receive(download({"{", "H;", "}"}), 1);
        QCOMPARE(c.machine().storedProgram(), (std::vector<std::string>{"{", "H;", "}"}));
        QVERIFY(!c.machine().programSaved());
        c.receive("SAVE P\r", 1);
        QVERIFY(c.machine().programSaved());
    }

    // A value that is not a number in range changes nothing and is reported; "MA abc" must
    // not drive the slide to 0, nor "VA=fast" zero the acceleration.
    void immediateValuesMustBeNumbers_data() {
        QTest::addColumn<QString>("command");
        for (const char* bad : {"MA abc", "MR 5mm", "VM=", "VM=-3", "VA=fast", "MA 1e99", "MA 1,5",
                                "SET P9", "CLR P"}) {
            QTest::newRow(bad) << QString(bad);
        }
    }

    void immediateValuesMustBeNumbers() {
        QFETCH(QString, command);
        controller::Controller c({});
        c.receive("VM=1000\rMA 12.5\r", 0);
        c.machine().advance(1);
        c.receive("SET P2\r", 1);
        c.receive(command.toStdString() + "\r", 1);
        c.machine().advance(2);
        QCOMPARE(c.machine().position(), 12.5);
        QCOMPARE(c.machine().speed(), 1000.0);
        QCOMPARE(c.machine().acceleration(), 2000.0);
        QCOMPARE(c.machine().outputs(), 2);
        QVERIFY(!c.machine().error().empty());
    }

    void programErrorsStopAtTheirLine_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("error");
        QTest::newRow("pattern out of range") << "OUTP 1e99;"
                                              << "line 3: OUTP";
        QTest::newRow("output 16") << "OUTP 16;"
                                   << "line 3: OUTP";
        QTest::newRow("no such input") << "WI 1e99;"
                                       << "line 3: WI";
        QTest::newRow("no such output") << "SET P 99999999999;"
                                        << "line 3: SET P";
        QTest::newRow("counter out of range") << "#L1=1e12;"
                                              << "line 3: ASSIGN";
        QTest::newRow("move to text") << "MA abc;"
                                      << "line 3: MA";
        QTest::newRow("endless calls") << "$A:;CALL $A;"
                                       << "line 3: calls nested too deep";
    }

    void programErrorsStopAtTheirLine() {
        QFETCH(QString, statement);
        QFETCH(QString, error);
        controller::Controller c({});
        c.receive(download({"{", "OUTP 1;", statement.toStdString(), "OUTP 5;", "}"}), 0);
        runToEnd(c, 0, 1);
        QVERIFY(!c.machine().running());
        QCOMPARE(c.machine().outputs(), 1);  // stopped at the bad line
        QVERIFY2(c.machine().error().starts_with(error.toStdString()), c.machine().error().c_str());
    }

    // What fails whatever happens is found before the program runs, at its line; what may
    // work out (a counted recursion, a loop by jump) is not.
    void staticFaultsOfAProgram_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("faults");  // "kind@line" for each fault
        QTest::newRow("move to text") << "MA abc;"
                                      << "BadValue@2";
        QTest::newRow("half an output") << "SET P 4.5;"
                                        << "BadValue@2";
        QTest::newRow("counter plus too much") << "#L1=#L1+1e12;"
                                               << "BadValue@2";
        QTest::newRow("counter plus one") << "#L1=#L1+1;"
                                          << "";
        QTest::newRow("outputs beyond the wired four") << "SET P8;CLR P5;"
                                                       << "";
        QTest::newRow("jump nowhere") << "JP $X;"
                                      << "NoSuchLabel@2";
        QTest::newRow("input call nowhere") << "CI 3,$X;"
                                            << "NoSuchLabel@2";
        QTest::newRow("calls itself") << "$A:;\rCALL $A;"
                                      << "CallsTooDeep@3";
        QTest::newRow("call used as a jump") << "$A:;CALL $B;$B:;JP $A;"
                                             << "CallsTooDeep@2";
        QTest::newRow("call and return") << "CALL $S;JP $E;$S:;RET;$E:;"
                                         << "";
        QTest::newRow("counted recursion")
            << "#L1=3;CALL $S;JP $E;$S:;JNZ #L1,$R;RET;$R:;#L1=#L1-1;CALL $S;RET;$E:;"
            << "Recursion@2";
        QTest::newRow("input may end it") << "$A:;CALL $B;$B:;JNI 3,$A;"
                                          << "Recursion@2";
        QTest::newRow("loop by jump") << "$A:;JP $A;"
                                      << "";
        QTest::newRow("unknown statement") << "FOO 1;"
                                           << "Unknown@2";
        QTest::newRow("longest line") << QString(255, 'H') + ";"
                                      << "Unknown@2";
        QTest::newRow("line one too long") << QString(257, ' ') << "LineTooLong@2";
    }

    void staticFaultsOfAProgram() {
        QFETCH(QString, body);
        QFETCH(QString, faults);
        std::vector<std::string> lines{"{"};
        for (const QString& line : body.split('\r')) {
            lines.push_back(line.toStdString());
        }
        lines.push_back("}");
        static const char* const kKinds[] = {"BadValue",       "NoSuchLabel",      "CallsTooDeep",
                                             "Recursion",      "CallChainTooDeep", "LineTooLong",
                                             "ProgramTooLong", "Unknown"};
        QStringList found;
        for (const controller::Fault& f : controller::staticFaults(lines)) {
            found << QString("%1@%2").arg(kKinds[int(f.kind)]).arg(f.line);
        }
        QCOMPARE(found.join(' '), faults);
    }

    // Faults found only while running stop the program at their line; calls nest to the
    // depth the controller keeps, and no deeper.
    void faultsWhileRunning() {
        controller::Controller c({});
        c.receive(download({"{", "OUTP 1;", "JP $NOWHERE;", "OUTP 2;", "}"}), 0);
        runToEnd(c, 0, 1);
        QCOMPARE(c.machine().outputs(), 1);
        QCOMPARE(c.machine().fault()->kind, controller::FaultKind::NoSuchLabel);
        QCOMPARE(c.machine().fault()->line, size_t(3));

        const auto nested = [](int depth) {
            std::vector<std::string> lines{"{", "CALL $C1;", "JP $E;"};
            for (int k = 1; k <= depth; ++k) {
                lines.push_back("$C" + std::to_string(k) + ":;");
                if (k < depth) {
                    lines.push_back("CALL $C" + std::to_string(k + 1) + ";");
                }
                lines.push_back("RET;");
            }
            lines.insert(lines.end(), {"$E:;", "OUTP 3;", "}"});
            return lines;
        };
        controller::Controller deep({});
        deep.receive(download(nested(int(controller::kMaxCallDepth))), 0);
        runToEnd(deep, 0, 1);
        QCOMPARE(deep.machine().outputs(), 3);
        QVERIFY(!deep.machine().fault());
        deep.receive(download(nested(int(controller::kMaxCallDepth) + 1)), 1);
        runToEnd(deep, 1, 1);
        QCOMPARE(deep.machine().fault()->kind, controller::FaultKind::CallsTooDeep);
    }

    // A halt line stops the program before its first statement runs.
    void haltLines() {
        controller::Controller c({});
        c.receive(download({"{", "OUTP 1;", "OUTP 2;", "OUTP 4;", "}"}), 0);
        c.machine().setHaltLines({3});
        runToEnd(c, 0, 1);
        QCOMPARE(c.machine().haltedAt(), size_t(3));
        QCOMPARE(c.machine().outputs(), 1);
        QVERIFY(!c.machine().running());
    }

    // The position as the controller tells it: a plain decimal number, no "12." and no
    // "-0", and a wild value clamped rather than overflowing the reply.
    void positionAsText_data() {
        QTest::addColumn<double>("position");
        QTest::addColumn<QString>("reply");
        QTest::newRow("hair above whole") << 12.0004 << "12";
        QTest::newRow("half") << 12.5 << "12.5";
        QTest::newRow("hair below zero") << -0.0001 << "0";
        QTest::newRow("negative") << -3.25 << "-3.25";
        QTest::newRow("wild") << 1e20 << "1000000000000000";
    }

    void positionAsText() {
        QFETCH(double, position);
        QFETCH(QString, reply);
        controller::Controller c({});
        c.machine().setPosition(position);
        QCOMPARE(QString::fromStdString(c.receive("?PE\r", 0)), reply + "\r");
    }

    // Garbage on the line is dropped in bounded memory, and the next query is answered.
    void garbageOnTheLine() {
        controller::Controller c({});
        c.receive(std::string(1 << 20, 'x'), 0);
        QCOMPARE(c.receive("\r?PE\r", 0), std::string("0\r"));
        QCOMPARE(c.machine().error(), std::string("line too long"));
        std::string program =
            "\x1b\x1b"
            "DL\r";
        for (int i = 0; i < 10000; ++i) {
            program += "WT 1;\r";
        }
        c.receive(program + "\r", 0);
        QCOMPARE(c.machine().storedProgram().size(), size_t(4096));
        QCOMPARE(c.machine().error(), std::string("program too long"));
    }

    void degenerateDevices() {
        controller::Controller fixed({.fixedReply = "7"});
        QCOMPARE(fixed.receive("?VM\r?PE\rHON\r?XYZ\r", 0), std::string("7\r7\r7\r"));
        controller::Controller silent({.fixedReply = {}, .silent = true});
        QCOMPARE(silent.receive("?VM\r?PE\r", 0), std::string());
        controller::Controller loop({.fixedReply = {}, .silent = false, .loopback = true});
        loop.receive("SET P2\rSET P4\rSET P7\r", 0);  // output 7 is not wired: no input follows
        QCOMPARE(loop.receive("?INP\r", 0), std::string("160\r"));
    }
};

QTEST_APPLESS_MAIN(TestSimController)
#include "tst_controller.moc"
