#pragma once

#include "Document.h"

#include <QPrinter>
#include <QWidget>
#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QProgressBar;

namespace ui {
class DialogService;
}

namespace report {

class DataSource;
class Report;

// On-screen preview of generated pages, fit to be an MDI child: zoom, page
// navigation and printing through the print dialog. The pages are generated
// once; the preview and the printer paint them with the same code.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(ui::DialogService& dialogs, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    void setDocument(Document document);
    const Document& document() const { return doc_; }
    // Generates the pages here, showing the rows read so far, and the window
    // keeps answering meanwhile. Errors propagate to the caller.
    void generate(const Report& report, DataSource* source);

    int currentPage() const; // 1-based
    int pageCount() const { return doc_.pageCount(); }
    double zoomFactor() const;
    QPrintPreviewWidget* previewWidget() const { return view_; }

public Q_SLOTS:
    void zoomIn();
    void zoomOut();
    void fitToWidth();
    void fitInView();
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void goToPage(int page);
    // Print dialog, then the chosen printer; a failure is shown as an error box.
    void print();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintRequested(QPrinter* printer);
    // The top of the first page in sight (Qt's fit keeps the view centred).
    void alPrincipio();
    void updatePageLabel();

    ui::DialogService& dialogs_;
    Document doc_;
    QPrinter printer_;
    QPrintPreviewWidget* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QAction* printAction_ = nullptr;
    // Until the user scrolls, every fit of the page keeps its top in sight.
    bool enCabecera_ = true;
    bool vistaVigilada_ = false;
};

} // namespace report
