#pragma once
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// Reads a PDF back as a reader would see it, through poppler's pdftotext: the words with their boxes,
// and the lines of text in reading order.
struct PdfWord {
    QString text;
    QRectF boxMm;  // from the paper's top-left corner
    int page = 0;  // from 1
};

class PdfText {
public:
    explicit PdfText(const QString& path);

    QString error;  // empty when the file was read
    int pageCount = 0;
    QList<PdfWord> words;

    // The lines of one page (from 1), or of all pages when 0, with runs of blanks made single and
    // empty lines left out.
    QStringList lines(int page = 0) const;
    // The first word with this text, or one with an empty text.
    PdfWord word(const QString& text, int page = 0) const;

    static bool toolsInstalled();

private:
    QString path_;
};
