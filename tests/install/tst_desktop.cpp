// Desktop integration files, checked by the freedesktop tools that distributions use.

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QString desktopFile(const QString& name) {
    return QDir(QStringLiteral(ORBALIA_SOURCE_DIR)).filePath("resources/desktop/" + name);
}

// Untranslated elements of the metainfo file that other files must agree with.
QMultiHash<QString, QString> metainfo() {
    QMultiHash<QString, QString> values;
    QFile f(desktopFile("es.orbalia.Orbalia.metainfo.xml"));
    if (!f.open(QIODevice::ReadOnly))
        return values;
    QXmlStreamReader xml(&f);
    const QStringList wanted = {"id", "launchable", "binary", "name"};
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && wanted.contains(xml.name()) &&
            !xml.attributes().hasAttribute("xml:lang"))
            values.insert(xml.name().toString(), xml.readElementText());
    return values;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void validatorsAcceptTheFiles_data() {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop-file-validate")
            << "desktop-file-validate" << QStringList{desktopFile("es.orbalia.Orbalia.desktop")};
        QTest::newRow("appstreamcli")
            << "appstreamcli"
            << QStringList{"validate", "--no-net", desktopFile("es.orbalia.Orbalia.metainfo.xml")};
    }
    void validatorsAcceptTheFiles() {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        const QString exe = QStandardPaths::findExecutable(tool);
        if (exe.isEmpty() && qEnvironmentVariable("CI") == u"true")
            QFAIL(qPrintable(tool + " is not installed"));
        if (exe.isEmpty())
            QSKIP(qPrintable(tool + " is not installed"));
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(exe, arguments);
        QVERIFY(p.waitForFinished(60000));
        const QString output = QString::fromUtf8(p.readAll());
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, qPrintable(output));
        // No hints or warnings either.
        QVERIFY2(tool == u"appstreamcli" ? !output.contains("W: ") && !output.contains("E: ")
                                         : output.trimmed().isEmpty(),
                 qPrintable(output));
    }

    void filesAgreeWithEachOther() {
        QSettings entry(desktopFile("es.orbalia.Orbalia.desktop"), QSettings::IniFormat);
        entry.beginGroup("Desktop Entry");
        QCOMPARE(entry.value("Exec").toString(), "orbalia");
        // The icon is installed under the application id.
        QCOMPARE(entry.value("Icon").toString(), "es.orbalia.Orbalia");
        const auto meta = metainfo();
        QCOMPARE(meta.value("id"), "es.orbalia.Orbalia");
        QCOMPARE(meta.value("launchable"), "es.orbalia.Orbalia.desktop");
        QVERIFY(meta.values("binary").contains("orbalia"));
        QCOMPARE(meta.value("name"), entry.value("Name").toString());
    }

    void iconDrawsAtAnySize() {
        for (int size : {16, 48, 256}) {
            QImageReader reader(desktopFile("es.orbalia.Orbalia.svg"));
            reader.setScaledSize(QSize(size, size));
            const QImage img = reader.read();
            QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(img.size(), QSize(size, size));
            // Something is drawn: the centre is opaque, the corners are not.
            QCOMPARE(qAlpha(img.pixel(size / 2, size / 2)), 255);
            QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        }
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
