// Every menu and toolbar image is drawn by Varkel itself and compiled into the
// program as SVG, so the menus look the same on a machine with no icon theme.
// This checks that each image key resolves, parses cleanly and paints.

#include <QtTest>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSvgRenderer>
#include <QXmlStreamReader>

namespace {

const char *const kImageKeys[] = {
    "imgNew", "imgOpen", "imgRevert", "imgSave", "imgSaveAs", "imgSaveAll",
    "imgPrint", "imgOptions", "imgClose", "imgCloseAll", "imgRecentFile",
    "imgExit", "imgEdit", "imgUndo", "imgCut", "imgCopy", "imgPaste",
    "imgDelete", "imgSelectAll", "imgWordWrap", "imgFind", "imgFindNext",
    "imgFindPrev", "imgReplace", "imgFont", "imgPalette", "imgSyntaxSelect",
    "imgSyntaxNone", "imgSyntaxAuto", "imgQ1", "imgQ2", "imgQ3", "imgTools",
    "imgRefresh", "imgSyntaxRefresh", "imgConflicts_None", "imgConflicts_All",
    "imgConflicts_Active", "imgFindNextConflict", "imgCascade", "imgTileHorz",
    "imgTileVert", "imgHelp", "imgChild", "imgInsert_Click", "imgInsert_Drag",
};

// Warnings printed by the SVG renderer (unsupported element, bad attribute,
// broken path data) would mean an image is only partly drawn.
QStringList g_warnings;
QtMessageHandler g_previousHandler = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        g_warnings << message;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

// The renderer quietly skips what it does not support (filters, masks,
// style sheets, references to other files), so the images keep to plain
// shapes and presentation attributes. Returns the first offence, or empty.
QString unsupportedMarkup(const QString &path)
{
    static const QStringList allowedElements = {
        "svg", "g", "defs", "path", "rect", "circle", "ellipse", "line",
        "polyline", "polygon", "linearGradient", "stop"};
    static const QStringList refusedAttributes = {
        "style", "class", "filter", "mask", "clip-path", "href"};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "cannot read " + path;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!allowedElements.contains(xml.name().toString()))
            return "element <" + xml.name().toString() + ">";
        for (const QXmlStreamAttribute &attribute : xml.attributes()) {
            if (refusedAttributes.contains(attribute.name().toString()))
                return "attribute " + attribute.qualifiedName().toString();
        }
    }
    if (xml.hasError())
        return xml.errorString();
    return {};
}

int opaquePixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) >= 128)
                ++count;
    return count;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        g_warnings.clear();
        g_previousHandler = qInstallMessageHandler(collectWarnings);
    }
    void cleanup() { qInstallMessageHandler(g_previousHandler); }

    void menuIcon_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *key : kImageKeys)
            QTest::newRow(key) << QStringLiteral(":/icons/%1.svg").arg(QLatin1String(key));
    }

    void menuIcon()
    {
        QFETCH(QString, path);
        QVERIFY2(QFile::exists(path), qPrintable(path + " is not in the resources"));

        const QString offence = unsupportedMarkup(path);
        QVERIFY2(offence.isEmpty(), qPrintable(offence));

        QSvgRenderer renderer(path);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 16, 16));

        const QIcon icon(path);
        QVERIFY(!icon.isNull());
        const QPixmap pixmap = icon.pixmap(QSize(16, 16));
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.size(), QSize(16, 16));

        // Well filled but not a solid square: something was actually drawn,
        // and the background stays transparent around it.
        const int opaque = opaquePixels(pixmap.toImage());
        QVERIFY2(opaque >= 24, qPrintable(QString::number(opaque) + " opaque pixels"));
        QVERIFY2(opaque < 16 * 16, "no transparent pixel at all");

        // Also scales up without losing the drawing (toolbars at 24 px).
        QCOMPARE(icon.pixmap(QSize(24, 24)).size(), QSize(24, 24));
        QVERIFY(opaquePixels(icon.pixmap(QSize(24, 24)).toImage()) > opaque);

        QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));
    }

    void applicationIcon()
    {
        const QString path = QStringLiteral(":/icons/varkel.svg");
        QVERIFY(QFile::exists(path));
        const QString offence = unsupportedMarkup(path);
        QVERIFY2(offence.isEmpty(), qPrintable(offence));
        QSvgRenderer renderer(path);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBox(), QRect(0, 0, 48, 48));

        const QIcon icon(path);
        for (int size : {16, 32, 48}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size));
            QCOMPARE(pixmap.size(), QSize(size, size));
            QVERIFY(opaquePixels(pixmap.toImage()) > size * size / 2);
        }
        QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
