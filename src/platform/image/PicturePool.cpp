#include "PicturePool.h"

#include "Picture.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>

namespace image {

PictureResult makePictures(const PictureJob& job, const PictureSizes& sizes) {
    PictureResult result;
    PictureError error;
    auto failed = [&result, &error] {
        result.error = error.text;
        result.fault = error.fault;
        result.detail = error.detail;
        return result;
    };
    const QImage web = loadFitted(job.source, sizes.web, &error);
    if (web.isNull())
        return failed();
    // Encoded in memory first, written only once both exist: a thumbnail that
    // cannot be made leaves the old web picture too.
    QList<QPair<QString, QByteArray>> files;
    if (!job.webTarget.isEmpty()) {
        const QByteArray bytes = encodeJpeg(web, sizes.quality, &error);
        if (bytes.isEmpty())
            return failed();
        files.append({job.webTarget, bytes});
    }
    if (!job.thumbTarget.isEmpty()) {
        const QImage thumb = fitted(web, sizes.thumb);
        if (thumb.isNull()) {
            error = {
                Fault::BadSize,
                QCoreApplication::translate("image::PicturePool", "Tamaño de miniatura no válido para %1.")
                    .arg(job.source),
                {}};
            return failed();
        }
        const QByteArray bytes = encodeJpeg(thumb, sizes.quality, &error);
        if (bytes.isEmpty())
            return failed();
        files.append({job.thumbTarget, bytes});
    }
    if (!replaceFiles(files, &error))
        return failed();
    result.ok = true;
    return result;
}

PicturePool::PicturePool(const PictureSizes& sizes, int threads, QObject* parent)
    : QObject(parent), sizes_(sizes) {
    pool_.setMaxThreadCount(threads > 0 ? threads : std::max(1, QThread::idealThreadCount()));
}

PicturePool::~PicturePool() {
    cancel();
    pool_.waitForDone();
}

int PicturePool::submit(const PictureJob& job) {
    const int index = int(results_.size());
    results_.append(PictureResult{});
    QPointer<PicturePool> self(this);
    auto state = state_;
    const PictureSizes sizes = sizes_;
    pool_.start([self, state, sizes, job, index] {
        PictureResult result;
        if (state->cancelled.load())
            result.cancelled = true;
        else
            result = makePictures(job, sizes);
        // Delivered on the pool's own thread; dropped if it is gone.
        if (self)
            QMetaObject::invokeMethod(
                self,
                [self, index, result] {
                    if (self)
                        self->jobEnded(index, result);
                },
                Qt::QueuedConnection);
    });
    return index;
}

void PicturePool::jobEnded(int index, const PictureResult& result) {
    results_[index] = result;
    ++finished_;
    Q_EMIT progress(finished_, submitted());
    if (finished_ == submitted() && wake_)
        wake_();
}

QList<PictureResult> PicturePool::waitForAll() {
    if (finished_ < submitted()) {
        QEventLoop loop;
        wake_ = [&loop] { loop.quit(); };
        loop.exec();
        wake_ = nullptr;
    }
    return results_;
}

void PicturePool::cancel() {
    state_->cancelled.store(true);
}

QList<PictureResult> makeAllPictures(const QList<PictureJob>& jobs, const PictureSizes& sizes, int threads,
                                     const std::function<void(int, int)>& progress) {
    PicturePool pool(sizes, threads);
    if (progress)
        QObject::connect(&pool, &PicturePool::progress, progress);
    for (const PictureJob& job : jobs)
        pool.submit(job);
    return pool.waitForAll();
}

} // namespace image
