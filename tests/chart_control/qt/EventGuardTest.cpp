#include <QtTest>
#include <stdexcept>

#include "EventGuard.h"

// The chart's event guard: a run-time error passes as before, without a
// word; any other fault is warned about and the handler's caller goes on.
class EventGuardTest : public QObject {
    Q_OBJECT

private slots:
    void runTimeErrorsPassQuietlyFaultsAreWarned() {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        bool ran = false;
        pelomar::guardEvent("paintEvent", [&] { ran = true; });
        QVERIFY(ran);
        pelomar::guardEvent("paintEvent", [] { throw pelomar::RuntimeError(380); });
    }

    void aFaultIsWarnedWithItsHandler() {
        QTest::ignoreMessage(QtWarningMsg, "Pelomar mousePressEvent failed: broken");
        pelomar::guardEvent("mousePressEvent", [] { throw std::logic_error("broken"); });
        QTest::ignoreMessage(QtWarningMsg, "Pelomar Redraw failed: unknown exception");
        pelomar::guardEvent("Redraw", [] { throw 1; });
    }
};

QTEST_MAIN(EventGuardTest)
#include "EventGuardTest.moc"
