// Every menu and toolbar image is drawn by Varkel itself and compiled into the
// program as SVG, so the menus look the same on a machine with no icon theme.
// This checks that each image the menus and toolbar name is there, parses
// cleanly and paints.

#include "commands/catalogue.h"

#include <QtTest>
#include <QDir>
#include <QIcon>
#include <QSvgRenderer>
#include <QXmlStreamReader>

namespace {

// Warnings printed by the SVG renderer (unsupported element, bad attribute,
// broken path data) would mean an image is only partly drawn.
QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        g_warnings << message;
}

// The renderer quietly skips what it does not support (filters, masks,
// style sheets, references to other files), so the images keep to plain
// shapes and presentation attributes. Returns the first offence, or empty.
QString unsupportedMarkup(const QString &path)
{
    static const QStringList allowedElements = {"svg", "g", "defs", "path", "rect", "circle", "ellipse", "line",
                                                "polyline", "polygon", "linearGradient", "stop"};
    static const QStringList refusedAttributes = {"style", "class", "filter", "mask", "clip-path", "href"};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "cannot read " + path;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (!allowedElements.contains(xml.name().toString()))
            return "element <" + xml.name().toString() + ">";
        for (const QXmlStreamAttribute &attribute : xml.attributes())
            if (refusedAttributes.contains(attribute.name().toString()))
                return "attribute " + attribute.qualifiedName().toString();
    }
    return xml.hasError() ? xml.errorString() : QString();
}

int opaquePixels(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            count += qAlpha(argb.pixel(x, y)) >= 128;
    return count;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedImageIsShipped()
    {
        QStringList named;
        for (const varkel::MenuItemDef &d : varkel::MenuCatalogue())
            named << QString::fromLatin1(d.icon.data(), qsizetype(d.icon.size()));
        for (const varkel::ToolbarButtonDef &b : varkel::ToolbarCatalogue())
            named << QString::fromLatin1(b.icon.data(), qsizetype(b.icon.size()));
        for (const QString &key : named)
            if (!key.isEmpty())
                QVERIFY2(QFile::exists(":/icons/" + key + ".svg"), qPrintable(key + " is not in the resources"));
    }

    void icon_data()
    {
        QTest::addColumn<QString>("path");
        const QStringList files = QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")});
        QVERIFY(files.size() > 40);
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << ":/icons/" + file;
    }

    void icon()
    {
        QFETCH(QString, path);
        g_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
        const QString offence = unsupportedMarkup(path);
        QSvgRenderer renderer(path);
        const int side = renderer.viewBox().width();
        const QPixmap pixmap = QIcon(path).pixmap(QSize(side, side));
        qInstallMessageHandler(previous);
        QVERIFY2(offence.isEmpty(), qPrintable(offence));
        QVERIFY(renderer.isValid());
        QVERIFY(renderer.viewBox() == QRect(0, 0, 16, 16) || path.endsWith("varkel.svg"));
        QCOMPARE(pixmap.size(), QSize(side, side));
        // Well filled but not a solid square: something was actually drawn,
        // and the background stays transparent around it.
        const int opaque = opaquePixels(pixmap.toImage());
        const int minimum = path.endsWith("varkel.svg") ? side * side / 2 : 24;
        QVERIFY2(opaque >= minimum && opaque < side * side, qPrintable(QString::number(opaque)));
        QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
