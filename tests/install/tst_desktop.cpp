// Desktop integration files, checked by the freedesktop tools that distributions use.

#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QString desktopFile(const char* name) {
    return QDir(QStringLiteral(ORBALIA_SOURCE_DIR))
        .filePath(QStringLiteral("resources/desktop/") + QLatin1String(name));
}

struct Validation {
    bool ran = false;
    int exitCode = -1;
    QString output;
};

Validation validate(const QString& tool, const QStringList& args) {
    Validation v;
    const QString exe = QStandardPaths::findExecutable(tool);
    if (exe.isEmpty())
        return v;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(exe, args);
    v.ran = p.waitForFinished(60000);
    v.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    v.output = QString::fromUtf8(p.readAll());
    return v;
}

bool underCi() {
    return qEnvironmentVariable("CI") == u"true";
}

// Elements of the metainfo file that other files must agree with (untranslated only).
QMultiHash<QString, QString> metainfo() {
    QMultiHash<QString, QString> values;
    QFile f(desktopFile("es.orbalia.Orbalia.metainfo.xml"));
    if (!f.open(QIODevice::ReadOnly))
        return values;
    QXmlStreamReader xml(&f);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        const bool wanted = name == u"id" || name == u"launchable" || name == u"binary" || name == u"name";
        if (wanted && !xml.attributes().hasAttribute(QStringLiteral("xml:lang")))
            values.insert(name, xml.readElementText());
    }
    return values;
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void desktopEntryIsValid() {
        const Validation v =
            validate(QStringLiteral("desktop-file-validate"), {desktopFile("es.orbalia.Orbalia.desktop")});
        if (!v.ran && underCi())
            QFAIL("desktop-file-validate is not installed");
        if (!v.ran)
            QSKIP("desktop-file-validate is not installed");
        QVERIFY2(v.exitCode == 0, qPrintable(v.output));
        QVERIFY2(v.output.trimmed().isEmpty(), qPrintable(v.output)); // no hints either
    }

    void metainfoIsValid() {
        const Validation v =
            validate(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                                      desktopFile("es.orbalia.Orbalia.metainfo.xml")});
        if (!v.ran && underCi())
            QFAIL("appstreamcli is not installed");
        if (!v.ran)
            QSKIP("appstreamcli is not installed");
        QVERIFY2(v.exitCode == 0, qPrintable(v.output));
        QVERIFY2(!v.output.contains(QStringLiteral("W: ")) && !v.output.contains(QStringLiteral("E: ")),
                 qPrintable(v.output));
    }

    void filesAgreeWithEachOther() {
        QSettings entry(desktopFile("es.orbalia.Orbalia.desktop"), QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Exec")).toString(), QStringLiteral("orbalia"));
        // The icon is installed under the application id.
        QCOMPARE(entry.value(QStringLiteral("Icon")).toString(), QStringLiteral("es.orbalia.Orbalia"));
        const auto meta = metainfo();
        QCOMPARE(meta.value(QStringLiteral("id")), QStringLiteral("es.orbalia.Orbalia"));
        QCOMPARE(meta.value(QStringLiteral("launchable")), QStringLiteral("es.orbalia.Orbalia.desktop"));
        QVERIFY(meta.values(QStringLiteral("binary")).contains(QStringLiteral("orbalia")));
        QCOMPARE(meta.value(QStringLiteral("name")), entry.value(QStringLiteral("Name")).toString());
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
