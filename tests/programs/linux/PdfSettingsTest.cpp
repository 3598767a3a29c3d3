// The window's kind of PDF from its settings file, ~/.config/pendrel/pendrel.conf (here under
// a XDG_CONFIG_HOME of the test's own): the keys of the README, each off unless set.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/office/protocol/Protocol.h"
#include "programs/linux/PdfSettings.h"

class PdfSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void taggedAndPdfaAreReadFromThePdfGroup() {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        // Before the first QSettings: the folder is looked up once per process.
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QVERIFY(QDir(config.path()).mkpath("pendrel"));
        QFile file(config.filePath("pendrel/pendrel.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[pdf]\ntagged=true\n");
        file.close();
        QCOMPARE(pendrel::programs::PdfFlagsFromSettings(), pendrel::office::PdfFlag::Tagged);
    }
};

QTEST_GUILESS_MAIN(PdfSettingsTest)
#include "PdfSettingsTest.moc"
