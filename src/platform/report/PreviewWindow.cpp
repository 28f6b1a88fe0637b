#include "PreviewWindow.h"
#include "Report.h"
#include "ReportError.h"

#include "platform/widgets/DialogService.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsView>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace report {

namespace {

QAction* barAction(QToolBar* bar, const QString& icon, const QString& text, const QKeySequence& key) {
    QAction* a = bar->addAction(QIcon::fromTheme(icon), text);
    a->setToolTip(text);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return a;
}

} // namespace

PreviewWindow::PreviewWindow(ui::DialogService& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("PreviewWindow"));
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("barraVistaPrevia"));
    bar->setAccessibleName(tr("Barra de la vista previa"));
    printAction_ = barAction(bar, QStringLiteral("document-print"), tr("Imprimir"), QKeySequence::Print);
    bar->addSeparator();
    QAction* first = barAction(bar, QStringLiteral("go-first"), tr("Primera página"), Qt::Key_Home);
    QAction* prev = barAction(bar, QStringLiteral("go-previous"), tr("Página anterior"), Qt::Key_PageUp);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("lblPagina"));
    pageLabel_->setMargin(4);
    bar->addWidget(pageLabel_);
    QAction* next = barAction(bar, QStringLiteral("go-next"), tr("Página siguiente"), Qt::Key_PageDown);
    QAction* last = barAction(bar, QStringLiteral("go-last"), tr("Última página"), Qt::Key_End);
    bar->addSeparator();
    QAction* in = barAction(bar, QStringLiteral("zoom-in"), tr("Ampliar"), QKeySequence::ZoomIn);
    QAction* out = barAction(bar, QStringLiteral("zoom-out"), tr("Reducir"), QKeySequence::ZoomOut);
    QAction* width = barAction(bar, QStringLiteral("zoom-fit-width"), tr("Ajustar al ancho"),
                               QKeySequence(Qt::CTRL | Qt::Key_1));
    QAction* whole = barAction(bar, QStringLiteral("zoom-fit-best"), tr("Página completa"),
                               QKeySequence(Qt::CTRL | Qt::Key_0));
    // Buttons say their action's text to a screen reader; Qt's overflow button too.
    for (QToolButton* b : bar->findChildren<QToolButton*>()) {
        if (b->defaultAction())
            b->setAccessibleName(b->defaultAction()->text());
        else if (b->objectName() == u"qt_toolbar_ext_button")
            b->setAccessibleName(tr("Más botones"));
    }
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progreso"));
    progress_->setAccessibleName(tr("Progreso del informe"));
    progress_->setRange(0, 0);
    progress_->setFormat(tr("%v filas"));
    progress_->setTextVisible(true);
    progress_->hide();

    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setObjectName(QStringLiteral("vistaPrevia"));
    view_->setAccessibleName(tr("Vista previa"));
    view_->setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(progress_);
    layout->addWidget(view_, 1);

    connect(view_, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::paintRequested);
    connect(view_, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::updatePageLabel);
    connect(printAction_, &QAction::triggered, this, &PreviewWindow::print);
    connect(first, &QAction::triggered, this, &PreviewWindow::firstPage);
    connect(prev, &QAction::triggered, this, &PreviewWindow::previousPage);
    connect(next, &QAction::triggered, this, &PreviewWindow::nextPage);
    connect(last, &QAction::triggered, this, &PreviewWindow::lastPage);
    connect(in, &QAction::triggered, this, &PreviewWindow::zoomIn);
    connect(out, &QAction::triggered, this, &PreviewWindow::zoomOut);
    connect(width, &QAction::triggered, this, &PreviewWindow::fitToWidth);
    connect(whole, &QAction::triggered, this, &PreviewWindow::fitInView);
    resize(760, 820);
    updatePageLabel();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::setDocument(Document document) {
    doc_ = std::move(document);
    printer_.setFullPage(true);
    printer_.setPageLayout(doc_.pageLayout);
    view_->setZoomMode(QPrintPreviewWidget::FitToWidth);
    view_->updatePreview();
    updatePageLabel();
    enCabecera_ = true;
    QTimer::singleShot(0, this, &PreviewWindow::alPrincipio);
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // After whatever resize comes with showing it.
    QTimer::singleShot(0, this, &PreviewWindow::alPrincipio);
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && enCabecera_)
        QTimer::singleShot(0, this, &PreviewWindow::alPrincipio);
    return QWidget::eventFilter(watched, event);
}

void PreviewWindow::alPrincipio() {
    if (auto* vista = view_->findChild<QGraphicsView*>()) {
        if (!vistaVigilada_) {
            vistaVigilada_ = true;
            vista->installEventFilter(this);
            // Only a person's scrolling triggers actions; the program's setValue does not.
            connect(vista->verticalScrollBar(), &QScrollBar::actionTriggered, this,
                    [this] { enCabecera_ = false; });
        }
        if (!enCabecera_)
            return;
        vista->verticalScrollBar()->setValue(vista->verticalScrollBar()->minimum());
        vista->horizontalScrollBar()->setValue(vista->horizontalScrollBar()->minimum());
    }
}

void PreviewWindow::generate(const Report& report, DataSource* source) {
    GenerateOptions options;
    options.processEvents = true;
    options.progressInterval = 200;
    options.progress = [this](int rows, int) {
        progress_->show();
        progress_->setValue(rows);
        progress_->setMaximum(std::max(rows, progress_->maximum()));
        return true;
    };
    progress_->setRange(0, 0);
    struct Hide {
        QProgressBar* bar;
        ~Hide() { bar->hide(); }
    } hide{progress_};
    setDocument(report.generate(source, options));
}

int PreviewWindow::currentPage() const {
    return view_->currentPage();
}

double PreviewWindow::zoomFactor() const {
    return view_->zoomFactor();
}

void PreviewWindow::zoomIn() {
    view_->zoomIn(1.25);
}

void PreviewWindow::zoomOut() {
    view_->zoomOut(1.25);
}

void PreviewWindow::fitToWidth() {
    view_->fitToWidth();
}

void PreviewWindow::fitInView() {
    view_->fitInView();
}

void PreviewWindow::goToPage(int page) {
    enCabecera_ = false;
    view_->setCurrentPage(std::clamp(page, 1, std::max(1, doc_.pageCount())));
    updatePageLabel();
}

void PreviewWindow::firstPage() {
    goToPage(1);
}

void PreviewWindow::previousPage() {
    goToPage(currentPage() - 1);
}

void PreviewWindow::nextPage() {
    goToPage(currentPage() + 1);
}

void PreviewWindow::lastPage() {
    goToPage(doc_.pageCount());
}

void PreviewWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(doc_.pageLayout);
    printer.setDocName(doc_.title.isEmpty() ? windowTitle() : doc_.title);
    printer.setFromTo(1, std::max(1, doc_.pageCount()));
    if (!dialogs_.choosePrinter(this, printer))
        return;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        doc_.print(printer);
        QApplication::restoreOverrideCursor();
    } catch (const ReportError& e) {
        QApplication::restoreOverrideCursor();
        dialogs_.message(this, {e.message(), tr("Error"), ui::DialogService::Buttons::Ok,
                                ui::DialogService::Icon::Critical, ui::DialogService::Answer::Ok});
    }
}

void PreviewWindow::paintRequested(QPrinter* printer) {
    try {
        doc_.print(*printer);
    } catch (const ReportError&) {
        // The preview's own printer always starts; nothing to show otherwise.
    }
}

void PreviewWindow::updatePageLabel() {
    const int total = doc_.pageCount();
    pageLabel_->setText(tr("Página %1 de %2").arg(total ? currentPage() : 0).arg(total));
    printAction_->setEnabled(total > 0);
}

} // namespace report
