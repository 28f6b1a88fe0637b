#pragma once

#include "DataSource.h"
#include "Document.h"
#include "Layout.h"

#include <QHash>
#include <QVariant>
#include <functional>

namespace report {

// What a band hook sees and may change for one printing of one band: the
// current row, and the text, picture or visibility of named elements.
class BandContext {
public:
    BandKind band() const { return band_; }
    int page() const { return page_; } // 1-based
    bool hasRow() const { return row_ != nullptr; }
    // Column of the current row (null without a row or for an unknown column).
    QVariant value(const QString& column) const;

    void setText(const QString& element, const QString& text);
    // A QImage, or a file path (relative paths: the report's image folder).
    void setImage(const QString& element, const QVariant& image);
    void setVisible(const QString& element, bool visible);

private:
    friend class Generator;
    BandKind band_ = BandKind::Detail;
    int page_ = 1;
    const QVariantList* row_ = nullptr;
    const DataSource* source_ = nullptr;
    QHash<QString, QString> texts_;
    QHash<QString, QVariant> images_;
    QHash<QString, bool> visible_;
};

using BandHook = std::function<void(BandContext&)>;
using Formatter = std::function<QString(const QVariant&)>;

struct GenerateOptions {
    // Called every progressInterval rows with rows and pages done; returning
    // false stops generation with ReportCancelled.
    std::function<bool(int rows, int pages)> progress;
    int progressInterval = 100;
    // Lets the window repaint while a long report is generated.
    bool processEvents = false;
};

// A layout plus what the caller gives it: parameters, formatters and band
// hooks. generate() reads the rows once and returns the finished pages.
class Report {
public:
    explicit Report(Layout layout) : layout_(std::move(layout)) {}
    // Throws ReportError naming the file. context: as for loadLayout.
    static Report load(const QString& path, const char* context = nullptr) {
        return Report(loadLayout(path, context));
    }

    const Layout& layout() const { return layout_; }

    // Text (QString) or picture (QImage, or a file path for image elements)
    // for elements with param="name".
    void setParameter(const QString& name, const QVariant& value);
    // Formatter for fields with format="name".
    void setFormatter(const QString& name, Formatter formatter);
    // Folder for relative picture paths held in columns or set by hooks.
    void setImageFolder(const QString& folder) { imageFolder_ = folder; }
    // Resolution pictures are embedded at (pixels per inch of the box they fill).
    void setImageDpi(int dpi) { imageDpi_ = dpi; }
    // Runs before each printing of a band, like a format event.
    void setBandHook(BandKind band, BandHook hook) { hooks_[int(band)] = std::move(hook); }

    // Generates every page. Without a source, or when the source has no row,
    // the detail band prints once with empty fields. Throws ReportError (a
    // format the layout names but nobody registered), ReportCancelled, or
    // whatever a hook or the source throws.
    Document generate(DataSource* source, const GenerateOptions& options = {}) const;

private:
    friend class Generator;
    Layout layout_;
    QHash<QString, QVariant> params_;
    QHash<QString, Formatter> formatters_;
    QString imageFolder_;
    int imageDpi_ = 200;
    BandHook hooks_[BandCount];
};

} // namespace report
