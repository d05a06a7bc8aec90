#include "ui/Printing.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ModalHelper.h"
#include "text/text.h"

namespace uzuviv {
namespace {

struct DrawnText {
    int Page;
    int X;
    int Y;
    bool Bold;
    std::string Text;
    int Width;   // in the font it was drawn in
};

// Every line, text by text from left to right: a point's text ends the templates' gap (" - ")
// before the next column, a header at least does not run into the next one.
void ExpectNoTextRunsIntoTheNextColumn(const std::vector<DrawnText>& drawn, int gap)
{
    std::map<std::pair<int, int>, std::vector<DrawnText>> lines;
    for (const DrawnText& text : drawn)
        lines[{text.Page, text.Y}].push_back(text);
    for (const auto& [at, texts] : lines) {
        ASSERT_EQ(texts.size(), 7u) << "page " << at.first << " y " << at.second;
        for (std::size_t column = 0; column + 1 < texts.size(); ++column) {
            const DrawnText& text = texts[column];
            EXPECT_LE(text.X + text.Width + (text.Bold ? 0 : gap), texts[column + 1].X)
                << "'" << text.Text << "' runs into '" << texts[column + 1].Text << "'";
        }
    }
}

// The left edges the header line was drawn at, on the first page.
std::vector<int> HeaderEdges(const std::vector<DrawnText>& drawn)
{
    std::vector<int> edges;
    for (const DrawnText& text : drawn)
        if (text.Page == 0 && text.Y == 0)
            edges.push_back(text.X);
    return edges;
}

// Records what is drawn. Regular text is 10 units per character and 100 high on a 1000-high
// page; bold text is wider, so edges measured in the wrong font show up.
class RecordingCanvas : public PrintCanvas {
public:
    std::vector<DrawnText> Drawn;
    int Pages = 1;
    bool Bold = true;   // starts in the wrong state on purpose

    void SetBold(bool bold) override { Bold = bold; }
    int TextWidth(const QString& text) override
    {
        return static_cast<int>(text.size()) * (Bold ? 11 : 10);
    }
    int TextHeight(const QString&) override { return Bold ? 150 : 100; }
    int PageHeight() override { return 1000; }
    void DrawText(int x, int y, const QString& text) override
    {
        Drawn.push_back({Pages - 1, x, y, Bold, text.toStdString(), TextWidth(text)});
    }
    void NewPage() override { ++Pages; }

    // The seven texts of the line whose first column reads `number`; empty when none.
    std::vector<DrawnText> Line(const std::string& number) const
    {
        std::vector<DrawnText> line;
        for (std::size_t i = 0; i < Drawn.size(); ++i)
            if (Drawn[i].X == 0 && Drawn[i].Text == number && !Drawn[i].Bold
                && i + 7 <= Drawn.size())
                line.assign(Drawn.begin() + static_cast<std::ptrdiff_t>(i),
                            Drawn.begin() + static_cast<std::ptrdiff_t>(i + 7));
        return line;
    }
};

class LanguageScope {
public:
    explicit LanguageScope(std::uint8_t language) : saved_(LanguageIndex) { LanguageIndex = language; }
    ~LanguageScope() { LanguageIndex = saved_; }

private:
    std::uint8_t saved_;
};

TProjectType ProjectOf(std::size_t count)
{
    TProjectType project;
    project.Records.resize(count);
    return project;
}

const std::vector<int> Edges = {0, 60, 200, 340, 440, 570, 650};

TEST(PrintingTest, PagesBreakByTheTopOfTheNextLine)
{
    LanguageScope english(2);
    TProjectType project = ProjectOf(10);
    RecordingCanvas canvas;
    RenderPointList(canvas, &project, 1);

    ASSERT_EQ(canvas.Pages, 2);
    std::vector<std::tuple<int, int, std::string>> lines;   // page, y, first text
    for (const DrawnText& text : canvas.Drawn)
        if (text.X == 0)
            lines.emplace_back(text.Page, text.Y, text.Text);
    const std::vector<std::tuple<int, int, std::string>> expected = {
        {0, 0, "N°"},    {0, 100, "001"}, {0, 200, "002"}, {0, 300, "003"},
        {0, 400, "004"}, {0, 500, "005"}, {0, 600, "006"}, {0, 700, "007"},
        {0, 800, "008"}, {0, 900, "009"}, {1, 0, "N°"},    {1, 100, "010"},
    };
    EXPECT_EQ(lines, expected);

    // Headers bold, on their own line, at the edges; every point line regular.
    for (const DrawnText& text : canvas.Drawn)
        EXPECT_EQ(text.Bold, text.Y == 0) << text.Text << " at " << text.Y;
    std::vector<std::string> secondHeader;
    for (const DrawnText& text : canvas.Drawn)
        if (text.Page == 1 && text.Y == 0)
            secondHeader.push_back(text.Text);
    EXPECT_EQ(secondHeader, (std::vector<std::string>{"N°", "Latitude", "Longitude", "Tolerance",
                                                      "Mode", "File", "Comments"}));

    RecordingCanvas full;
    TProjectType maximal = ProjectOf(150);
    RenderPointList(full, &maximal, 1);
    EXPECT_EQ(full.Pages, 17);   // nine points a page
    EXPECT_EQ(full.Drawn.size(), 17u * 7 + 150u * 7);
}

TEST(PrintingTest, CellTextsAndEdges)
{
    LanguageScope english(2);
    TProjectType project = ProjectOf(1000);
    project.Records[0].Latitude = -12.5L;
    project.Records[0].Longitude = -122.25L;
    project.Records[0].Tolerance = 5;
    project.Records[0].FileRef = 12;
    project.Records[0].Comments = "Gare de Lyon, quai A, the comment runs over the margin";
    project.Records[1].Tolerance = 1000;
    project.Records[1].Mode = 9;
    project.Records[1].Latitude = 45.5L;
    project.Records[2].Mode = 3;
    project.Records[3].Mode = 2;
    project.Records[3].Comments = "";

    struct Case {
        int Mode;
        std::string Number;
        std::vector<std::string> Texts;
    };
    const std::vector<Case> cases = {
        {1, "001", {"001", "-12.500000", "-122.250000", "005", "Track", "012",
                    "Gare de Lyon, quai A, the comment runs over the margin"}},
        {2, "001", {"001", "12° 30.000000' S", "122° 15.000000' W", "005", "Track", "012",
                    "Gare de Lyon, quai A, the comment runs over the margin"}},
        {2, "002", {"002", "45° 30.000000' N", "0° 0.000000' E", "1000", "Track", "001", "..."}},
        {4, "003", {"003", "0° 0' 0\" N", "0° 0' 0\" E", "000", "Free Tour", "001", "..."}},
        {7, "004", {"004", "0.000000", "0.000000", "000", "Alarm", "001", ""}},
        {1, "150", {"150", "0.000000", "0.000000", "000", "Track", "001", "..."}},
        {1, "1000", {"1000", "0.000000", "0.000000", "000", "Track", "001", "..."}},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        RenderPointList(canvas, &project, c.Mode);
        const std::vector<DrawnText> line = canvas.Line(c.Number);
        ASSERT_EQ(line.size(), 7u) << "mode " << c.Mode << " point " << c.Number;
        const std::vector<int> edges = HeaderEdges(canvas.Drawn);
        for (std::size_t column = 0; column < 7; ++column) {
            EXPECT_EQ(line[column].Text, c.Texts[column]) << "mode " << c.Mode << " column " << column;
            EXPECT_EQ(line[column].X, edges[column]) << "mode " << c.Mode << " column " << column;
            EXPECT_EQ(line[column].Y, line[0].Y);
        }
        ExpectNoTextRunsIntoTheNextColumn(canvas.Drawn, 30);
    }

    // Up to 150 points in D.d, the texts the templates stand for: the edges are the templates'.
    project.Records.resize(150);
    RecordingCanvas ordinary;
    RenderPointList(ordinary, &project, 1);
    EXPECT_EQ(HeaderEdges(ordinary.Drawn), Edges);
}

TEST(PrintingTest, FrenchHeadersAndModeNames)
{
    LanguageScope french(1);
    TProjectType project = ProjectOf(3);
    project.Records[1].Mode = 2;
    project.Records[2].Mode = 3;
    RecordingCanvas canvas;
    RenderPointList(canvas, &project, 1);

    std::vector<std::string> header;
    std::vector<std::string> modes;
    for (const DrawnText& text : canvas.Drawn) {
        if (text.Y == 0)
            header.push_back(text.Text);
        else if (text.X == Edges[4])
            modes.push_back(text.Text);
    }
    EXPECT_EQ(header, (std::vector<std::string>{"N°", "Latitude", "Longitude", "Tolérance", "Mode",
                                                "Fichier", "Commentaires"}));
    EXPECT_EQ(modes, (std::vector<std::string>{"Circuit", "Alarme", "Parcours libre"}));
}

TEST(PrintingTest, NoPointsPrintsTheHeaderLineAlone)
{
    LanguageScope english(2);
    TProjectType empty;
    for (const TProjectType* project : {static_cast<const TProjectType*>(nullptr),
                                        static_cast<const TProjectType*>(&empty)}) {
        RecordingCanvas canvas;
        RenderPointList(canvas, project, 1);
        EXPECT_EQ(canvas.Pages, 1);
        ASSERT_EQ(canvas.Drawn.size(), 7u);
        for (std::size_t column = 0; column < 7; ++column) {
            EXPECT_EQ(canvas.Drawn[column].X, Edges[column]);
            EXPECT_EQ(canvas.Drawn[column].Y, 0);
            EXPECT_TRUE(canvas.Drawn[column].Bold);
        }
    }
}

// Forwards to the real canvas, counts what the page geometry implies and records what is drawn.
class CountingCanvas : public PrintCanvas {
public:
    explicit CountingCanvas(PrintCanvas& inner) : inner_(inner) {}
    int NewPages = 0;
    int LineHeight = 0;
    int Height = 0;
    std::vector<DrawnText> Drawn;

    void SetBold(bool bold) override
    {
        bold_ = bold;
        inner_.SetBold(bold);
    }
    int TextWidth(const QString& text) override { return inner_.TextWidth(text); }
    int TextHeight(const QString& text) override { return LineHeight = inner_.TextHeight(text); }
    int PageHeight() override { return Height = inner_.PageHeight(); }
    void DrawText(int x, int y, const QString& text) override
    {
        Drawn.push_back({NewPages, x, y, bold_, text.toStdString(), inner_.TextWidth(text)});
        inner_.DrawText(x, y, text);
    }
    void NewPage() override
    {
        ++NewPages;
        inner_.NewPage();
    }

private:
    PrintCanvas& inner_;
    bool bold_ = false;
};

// A page of each display mode on the real font, drawn into an image (UZUVIV_KEEP_PRINT names a
// folder to keep the first pages in): no text runs into the next column, and D.d with ordinary
// values keeps the edges of the header line alone.
TEST(PrintingTest, RealFontPagesInEveryDisplayMode)
{
    TProjectType ordinary = ProjectOf(150);
    for (std::size_t i = 0; i < ordinary.Records.size(); ++i) {
        TGPSRecord& record = ordinary.Records[i];
        record.Latitude = (i % 2 ? -1 : 1) * (89.999999L - static_cast<Extended>(i) * 0.6L);
        record.Longitude = (i % 3 ? -1 : 1) * (179.999999L - static_cast<Extended>(i) * 1.2L);
        record.Tolerance = static_cast<std::uint16_t>(i * 1000 / 149);
        record.Mode = static_cast<std::uint8_t>(1 + i % 3);
        record.FileRef = static_cast<std::uint16_t>(999 - i);
        record.Comments = "Point " + std::to_string(i + 1);
    }
    // A thousand points, and a latitude an imported file brought in beyond the range.
    TProjectType extreme = ordinary;
    extreme.Records.resize(1000, ordinary.Records[1]);
    extreme.Records[2].Latitude = -1234.5L;
    const QString keep = qEnvironmentVariable("UZUVIV_KEEP_PRINT");

    for (const std::uint8_t language : {2, 1}) {
        LanguageScope scope(language);
        std::vector<int> headerAlone;
        const TProjectType* projects[] = {nullptr, &ordinary, &extreme};
        for (const TProjectType* project : projects) {
            for (int mode = 1; mode <= 4; ++mode) {
                SCOPED_TRACE(::testing::Message() << "language " << int(language) << " mode " << mode
                                                  << " points " << (project ? project->Records.size() : 0));
                QImage page(827, 1169, QImage::Format_RGB32);   // A4 at 100 dots per inch
                page.setDotsPerMeterX(3937);
                page.setDotsPerMeterY(3937);
                page.fill(Qt::white);
                int pages = 0;
                const auto endPage = [&]() {
                    if (!keep.isEmpty() && pages == 0 && project != nullptr)
                        page.save(QStringLiteral("%1/print-%2-mode%3-%4.png")
                                      .arg(keep, language == 1 ? "fr" : "en").arg(mode)
                                      .arg(project->Records.size()));
                    ++pages;
                    page.fill(Qt::white);
                };
                QPainter painter(&page);
                PainterCanvas canvas(painter, page, endPage);
                CountingCanvas recording(canvas);
                RenderPointList(recording, project, mode);
                ExpectNoTextRunsIntoTheNextColumn(recording.Drawn, canvas.TextWidth(" - "));
                if (project == nullptr) {
                    headerAlone = HeaderEdges(recording.Drawn);
                } else if (project == &ordinary && mode == 1) {
                    EXPECT_EQ(HeaderEdges(recording.Drawn), headerAlone);
                }
                painter.end();
                endPage();
            }
        }
    }
}

int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString content = QString::fromLatin1(file.readAll());
    if (!content.startsWith(QStringLiteral("%PDF")))
        return -1;
    return static_cast<int>(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
}

TEST(PrintingTest, PrintsIntoAPdf)
{
    LanguageScope french(1);
    TProjectType project = ProjectOf(150);
    for (std::size_t i = 0; i < project.Records.size(); ++i) {
        TGPSRecord& record = project.Records[i];
        record.Latitude = 45.5L + static_cast<Extended>(i) / 100;
        record.Longitude = -(0.1276L + static_cast<Extended>(i) / 10);
        record.Tolerance = static_cast<std::uint16_t>(i * 7);
        record.Mode = static_cast<std::uint8_t>(i % 4);
        record.FileRef = static_cast<std::uint16_t>(i + 1);
        record.Comments = "Point n° " + std::to_string(i + 1) + ", étape";
    }

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("points.pdf"));
    int newPages = 0;
    int lineHeight = 0;
    int pageHeight = 0;
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QPainter painter(&writer);
        PainterCanvas canvas(painter, writer);
        CountingCanvas counting(canvas);
        RenderPointList(counting, &project, 2);
        painter.end();
        newPages = counting.NewPages;
        lineHeight = counting.LineHeight;
        pageHeight = counting.Height;
    }

    ASSERT_GT(lineHeight, 0);
    ASSERT_GT(pageHeight, lineHeight);
    // Lines at h, 2h, ... while their top is above the page height.
    const int linesPerPage = (pageHeight - 1) / lineHeight;
    const int expectedPages = (150 + linesPerPage - 1) / linesPerPage;
    EXPECT_EQ(newPages + 1, expectedPages);
    EXPECT_GT(expectedPages, 1);
    EXPECT_EQ(PdfPageCount(path), expectedPages);
    if (qEnvironmentVariableIsSet("UZUVIV_KEEP_PDF"))
        QFile::copy(path, qEnvironmentVariable("UZUVIV_KEEP_PDF"));
}

// The dialog is answered through its own widgets, always on its print-to-file entry, so the
// test never sends a job to a real printer.
TEST(PrintingTest, PrintDialogAnswers)
{
    struct Case {
        bool Confirm;
        int ExpectedPages;   // -1: no file written
    };
    for (const Case& c : {Case{false, -1}, Case{true, 1}}) {
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("job.pdf"));
        TProjectType project = ProjectOf(3);
        bool seen = false;
        testing::WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            if (dialog == nullptr) {
                modal->close();
                return;
            }
            seen = dialog->objectName() == QStringLiteral("PrintDialog1") && dialog->isModal();
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            const int toFile = printers != nullptr ? printers->findText(QStringLiteral("PDF"),
                                                                        Qt::MatchContains)
                                                   : -1;
            if (!c.Confirm || toFile < 0 || fileName == nullptr) {
                dialog->reject();
                return;
            }
            printers->setCurrentIndex(toFile);
            fileName->setText(path);
            dialog->accept();
        });
        PrintPointList(nullptr, &project, 1);
        EXPECT_TRUE(seen) << "confirm " << c.Confirm;
        EXPECT_EQ(PdfPageCount(path), c.ExpectedPages) << "confirm " << c.Confirm;
    }
}

} // namespace
} // namespace uzuviv
