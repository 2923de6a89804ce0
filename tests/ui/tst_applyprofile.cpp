#include "ApplyProfileDialog.h"
#include "DialogFileChooser.h"
#include "FrmTest.h"
#include "LoopbackPrinter.h"
#include "ProfileFiles.h"
#include "RecordingPrinterSdk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// Answers the status and identity requests as a printer does: ready, or with its cover open.
LoopbackPrinter::Answers answering(bool coverOpen)
{
    return [=](std::string_view received) -> std::string {
        if (received.size() != 3)
            return {}; // the profile itself
        if (received[0] == '\x10')
            return std::string(1, coverOpen && received[2] == 2 ? '\x16' : '\x12');
        return received[2] == 2 ? std::string("\x02") : std::string("_ACME\0", 6);
    };
}

QString written(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? path : QString();
}

struct Answers {
    QStringList paths, shown;
    Answers()
    {
        DialogFileChooser::setAnswerHook([this](const FileChooser::Question&) {
            return paths.isEmpty() ? std::nullopt
                                   : std::optional<std::string>(paths.takeFirst().toStdString());
        });
        MessageBoxMessages::setAnswerHook([this](QMessageBox& box) { shown << box.text(); });
    }
    ~Answers()
    {
        DialogFileChooser::setAnswerHook({});
        MessageBoxMessages::setAnswerHook({});
    }
};

} // namespace

// The File menu's items on Qt: each reaches its model, and the apply dialog runs against
// printers on loopback, one with its cover open and one that resets every connection.
class TestApplyProfile : public QObject
{
    Q_OBJECT

private slots:
    void openAndSaveProfile()
    {
        QTemporaryDir folder;
        Answers answers;
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>{}; });
        answers.paths << written(folder.filePath("shop.toml"),
                                 "[black-mark]\nmark-width = 3.5\ncut-position = -2\n");
        w.runMenu(MenuCommand::OpenProfile);
        QCOMPARE(w.Text2[0]->text() + "|" + w.Text2[4]->text() + "|" + w.Text2[5]->text(),
                 QStringLiteral("3.5|0|2"));
        w.runMenu(MenuCommand::SaveProfile);
        QCOMPARE(answers.shown, QStringList{ProfileFiles::NothingSentText});
        QVERIFY(sdk.calls.empty());
    }

    void applyDialogAgainstLoopbackFleet()
    {
        using enum LoopbackPrinter::Behaviour;
        LoopbackPrinter ready(Reads, AF_INET, 0, answering(false));
        LoopbackPrinter alsoReady(Reads, AF_INET, 0, answering(false));
        LoopbackPrinter coverOpen(Reads, AF_INET, 0, answering(true));
        LoopbackPrinter resets(ResetsAtAccept);
        QTemporaryDir folder;
        Answers answers;
        RecordingPrinterSdk sdk;
        FrmTest w(sdk, [] { return std::vector<std::string>{}; });
        w.runMenu(MenuCommand::ApplyProfile);
        auto* dialog = w.findChild<ApplyProfileDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(!dialog->stopButton->isEnabled() && !dialog->saveReportButton->isEnabled());
        answers.paths << written(folder.filePath("p.toml"), "[black-mark]\nfunction = \"on\"\n");
        QTest::mouseClick(dialog->profileBrowse, Qt::LeftButton);
        answers.paths << folder.filePath("list.txt");
        QTest::mouseClick(dialog->listBrowse, Qt::LeftButton);
        QCOMPARE(dialog->listPath->text(), folder.filePath("list.txt"));
        QString lines;
        for (const LoopbackPrinter* printer : {&ready, &coverOpen, &resets, &alsoReady})
            lines += QStringLiteral("ETHERNET 127.0.0.1:%1\n").arg(printer->port());
        dialog->pastedChoice->setChecked(true);
        dialog->pastedLines->setPlainText(lines);
        QTest::mouseClick(dialog->applyButton, Qt::LeftButton);
        QVERIFY(dialog->stopButton->isEnabled() && !dialog->applyButton->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(dialog->saveReportButton->isEnabled(), 30000);
        QCOMPARE(dialog->progress->value(), 4);
        QMap<QString, QString> results;
        for (int row = 0; row < dialog->table->rowCount(); ++row)
            results[dialog->table->item(row, 0)->text()] =
                dialog->table->item(row, 2)->text() + " " + dialog->table->item(row, 3)->text();
        QCOMPARE(results.size(), 4);
        const QString at = QStringLiteral("ETHERNET 127.0.0.1:%1");
        QCOMPARE(results[at.arg(ready.port())], QStringLiteral("set -"));
        QCOMPARE(results[at.arg(coverOpen.port())],
                 QStringLiteral("skipped cannot print: cover open"));
        QVERIFY(results[at.arg(resets.port())].startsWith("failed "));
        answers.paths << folder.filePath("report.json");
        QTest::mouseClick(dialog->saveReportButton, Qt::LeftButton);
        QFile report(folder.filePath("report.json"));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray json = report.readAll();
        QVERIFY(json.contains("\"set\": 2,\n    \"failed\": 1,\n    \"skipped\": 1\n}"));
        QVERIFY(answers.shown.isEmpty());

        // Stopped while the first printer's connect waits for its bound: the second is not begun.
        LoopbackPrinter silent(NeverAccepts);
        dialog->pastedLines->setPlainText(at.arg(silent.port()) + "\n" + at.arg(ready.port()));
        dialog->jobs->setText(QStringLiteral("1"));
        QTest::mouseClick(dialog->applyButton, Qt::LeftButton);
        QTest::mouseClick(dialog->stopButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(dialog->saveReportButton->isEnabled(), 30000);
        QCOMPARE(dialog->table->rowCount(), 2);
        QCOMPARE(dialog->table->item(1, 3)->text(), QString(FleetRun::NotStartedReason));
        QTest::mouseClick(dialog->closeButton, Qt::LeftButton);
        QTRY_VERIFY(!w.findChild<ApplyProfileDialog*>());
    }
};

QTEST_MAIN(TestApplyProfile)
#include "tst_applyprofile.moc"
