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
double runToEnd(sim::Controller& c, double start, double limit = 60) {
    double t = start;
    c.receive("G\r", t);
    while (c.running() && t < start + limit) {
        t += 0.01;
        c.advance(t);
    }
    return t - start;
}

}  // namespace

class TestSimController : public QObject {
    Q_OBJECT

private slots:
    void queriesAndImmediateCommands() {
        sim::Controller c({});
        QCOMPARE(c.receive("?VM\r?VA\r?PE\r?INP\r", 0), std::string("100\r2000\r0\r0\r"));
        QCOMPARE(c.receive("VM=50\rMA 10\r", 0), std::string());
        c.advance(0.1);
        QCOMPARE(c.receive("?PE\r", 0.1), std::string("5\r"));
        c.advance(1);
        QCOMPARE(c.position(), 10.0);
        c.receive("SET P1\rSET P3\rCLR P1\r", 1);
        QCOMPARE(c.outputs(), 4);
        c.setInput(8, true);
        QCOMPARE(c.receive("?INP\r", 1), std::string("128\r"));
    }

    void programWithLoopCallAndPulse() {
        sim::Controller c({});
        c.receive(
            download({"{",      "CLR VAR;", "SI #L1;",  "VM=1000;",   "#L1=3;",          "$LOOP1:;",
                      "MR 10;", "DN;",      "CALL $P;", "#L1=#L1-1;", "JNZ #L1,$LOOP1;", "JP $END;",
                      "$P:;",   "SET P2;",  "WT 100;",  "DN;",        "CLR P2;",         "RET;",
                      "$END:;", "OUTP 9;",  "}"}),
            0);
        QCOMPARE(c.storedProgram().size(), size_t(21));
        const double took = runToEnd(c, 0);
        QCOMPARE(c.position(), 30.0);  // three relative moves of 10
        QCOMPARE(c.outputs(), 9);
        QVERIFY(took >= 0.3 && took < 0.5);  // three 100 ms pulses and short moves
    }

    void inputWaitsAndJumps() {
        sim::Controller c({});
        c.receive(download({"{", "WI 2;", "JNI 3,$OFF;", "MA 5;", "DN;", "JP $E;", "$OFF:;",
                            "MA 7;", "DN;", "$E:;", "}"}),
                  0);
        c.receive("G\r", 0);
        c.advance(1);
        QVERIFY(c.running());  // waiting for input 2
        c.setInput(2, true);
        runToEnd(c, 1);
        QCOMPARE(c.position(), 7.0);  // input 3 off: jumped

        // A call on an input returns to the statement after it; a counter below zero is
        // not zero.
        sim::Controller call({});
        call.receive(download({"{", "VM=1000;", "CI 3,$S;", "MR 1;", "DN;", "#L1=0;", "#L1=#L1-1;",
                               "JNZ #L1,$E;", "MR 100;", "DN;", "JP $E;", "$S:;", "MR 10;", "DN;",
                               "RET;", "$E:;", "}"}),
                     0);
        call.setInput(3, true);
        runToEnd(call, 0, 5);
        QCOMPARE(call.position(), 11.0);
        QVERIFY(!call.fault());
    }

    void escapeStopsAndDownloadReplaces() {
        sim::Controller c({});
        c.receive(download({"{", "$A:;", "JP $A;", "}"}), 0);
        c.receive("G\r", 0);
        c.advance(0.5);
        QVERIFY(c.running());  // an endless loop does not hang the simulator
        c.receive("\x1b", 0.5);
        QVERIFY(!c.running());
        c.receive(download({"{", "H;", "}"}), 1);
        QCOMPARE(c.storedProgram(), (std::vector<std::string>{"{", "H;", "}"}));
        QVERIFY(!c.programSaved());
        c.receive("SAVE P\r", 1);
        QVERIFY(c.programSaved());
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
        sim::Controller c({});
        c.receive("VM=1000\rMA 12.5\r", 0);
        c.advance(1);
        c.receive("SET P2\r", 1);
        c.receive(command.toStdString() + "\r", 1);
        c.advance(2);
        QCOMPARE(c.position(), 12.5);
        QCOMPARE(c.speed(), 1000.0);
        QCOMPARE(c.acceleration(), 2000.0);
        QCOMPARE(c.outputs(), 2);
        QVERIFY(!c.error().empty());
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
        sim::Controller c({});
        c.receive(download({"{", "OUTP 1;", statement.toStdString(), "OUTP 5;", "}"}), 0);
        runToEnd(c, 0, 1);
        QVERIFY(!c.running());
        QCOMPARE(c.outputs(), 1);  // stopped at the bad line
        QVERIFY2(c.error().starts_with(error.toStdString()), c.error().c_str());
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
        static const char* const kKinds[] = {"BadValue",  "NoSuchLabel", "CallsTooDeep",
                                             "Recursion", "LineTooLong", "ProgramTooLong",
                                             "Unknown"};
        QStringList found;
        for (const sim::Fault& f : sim::staticFaults(lines)) {
            found << QString("%1@%2").arg(kKinds[int(f.kind)]).arg(f.line);
        }
        QCOMPARE(found.join(' '), faults);
    }

    // Faults found only while running stop the program at their line; calls nest to the
    // depth the controller keeps, and no deeper.
    void faultsWhileRunning() {
        sim::Controller c({});
        c.receive(download({"{", "OUTP 1;", "JP $NOWHERE;", "OUTP 2;", "}"}), 0);
        runToEnd(c, 0, 1);
        QCOMPARE(c.outputs(), 1);
        QCOMPARE(c.fault()->kind, sim::FaultKind::NoSuchLabel);
        QCOMPARE(c.fault()->line, size_t(3));

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
        sim::Controller deep({});
        deep.receive(download(nested(int(sim::kMaxCallDepth))), 0);
        runToEnd(deep, 0, 1);
        QCOMPARE(deep.outputs(), 3);
        QVERIFY(!deep.fault());
        deep.receive(download(nested(int(sim::kMaxCallDepth) + 1)), 1);
        runToEnd(deep, 1, 1);
        QCOMPARE(deep.fault()->kind, sim::FaultKind::CallsTooDeep);
    }

    // A halt line stops the program before its first statement runs.
    void haltLines() {
        sim::Controller c({});
        c.receive(download({"{", "OUTP 1;", "OUTP 2;", "OUTP 4;", "}"}), 0);
        c.setHaltLines({3});
        runToEnd(c, 0, 1);
        QCOMPARE(c.haltedAt(), size_t(3));
        QCOMPARE(c.outputs(), 1);
        QVERIFY(!c.running());
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
        sim::Controller c({});
        c.setPosition(position);
        QCOMPARE(QString::fromStdString(c.receive("?PE\r", 0)), reply + "\r");
    }

    // Garbage on the line is dropped in bounded memory, and the next query is answered.
    void garbageOnTheLine() {
        sim::Controller c({});
        c.receive(std::string(1 << 20, 'x'), 0);
        QCOMPARE(c.receive("\r?PE\r", 0), std::string("0\r"));
        QCOMPARE(c.error(), std::string("line too long"));
        std::string program =
            "\x1b\x1b"
            "DL\r";
        for (int i = 0; i < 10000; ++i) {
            program += "WT 1;\r";
        }
        c.receive(program + "\r", 0);
        QCOMPARE(c.storedProgram().size(), size_t(4096));
        QCOMPARE(c.error(), std::string("program too long"));
    }

    void degenerateDevices() {
        sim::Controller fixed({.fixedReply = "7"});
        QCOMPARE(fixed.receive("?VM\r?PE\rHON\r?XYZ\r", 0), std::string("7\r7\r7\r"));
        sim::Controller silent({.fixedReply = {}, .silent = true});
        QCOMPARE(silent.receive("?VM\r?PE\r", 0), std::string());
        sim::Controller loop({.fixedReply = {}, .silent = false, .loopback = true});
        loop.receive("SET P2\rSET P4\rSET P7\r", 0);  // output 7 is not wired: no input follows
        QCOMPARE(loop.receive("?INP\r", 0), std::string("160\r"));
    }
};

QTEST_APPLESS_MAIN(TestSimController)
#include "tst_controller.moc"
