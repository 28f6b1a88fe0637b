#pragma once

#include "Picture.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <memory>

namespace image {

// One photograph to publish: a picture fitted inside webSize written to
// webTarget, and a thumbnail made from that picture (not from the original)
// written to thumbTarget. An empty target is not written. Both targets are
// replaced together or, when either cannot be made, both left as they were.
struct PictureJob {
    QString source;
    QString webTarget;
    QString thumbTarget;
};

struct PictureSizes {
    QSize web;
    QSize thumb;
    int quality = 85;
};

struct PictureResult {
    bool ok = false;
    bool cancelled = false;
    QString error;             // Spanish, names the file
    Fault fault = Fault::None; // why, for a caller's own wording
    QString detail;            // the decoder's or the system's words, for a technical log
};

// Makes the pictures of one job on the calling thread.
PictureResult makePictures(const PictureJob& job, const PictureSizes& sizes);

// Makes pictures on worker threads while the caller goes on. Jobs start as
// they are submitted, so a caller can submit photographs while it still
// writes rows elsewhere and wait for them only at the end. Progress is
// reported on the caller's thread.
class PicturePool : public QObject {
    Q_OBJECT
public:
    explicit PicturePool(const PictureSizes& sizes, int threads = 0, QObject* parent = nullptr);
    ~PicturePool() override; // cancels and waits for the workers

    // Returns the job's index in results().
    int submit(const PictureJob& job);
    // Runs the caller's event loop until every submitted job has ended (windows
    // keep painting); returns the results in submission order.
    QList<PictureResult> waitForAll();
    // Jobs not yet started end as cancelled; safe from any thread.
    void cancel();
    bool isCancelled() const { return state_->cancelled.load(); }

    int submitted() const { return int(results_.size()); }
    int finished() const { return finished_; }
    const QList<PictureResult>& results() const { return results_; }

Q_SIGNALS:
    // After each job, on the caller's thread.
    void progress(int finished, int submitted);

private:
    struct Shared {
        std::atomic<bool> cancelled{false};
    };
    void jobEnded(int index, const PictureResult& result);

    PictureSizes sizes_;
    QThreadPool pool_;
    std::shared_ptr<Shared> state_ = std::make_shared<Shared>();
    QList<PictureResult> results_;
    int finished_ = 0;
    std::function<void()> wake_;
};

// Convenience: processes every job with a pool of `threads` workers (0: one
// per core) and calls progress(finished, total) after each.
QList<PictureResult> makeAllPictures(const QList<PictureJob>& jobs, const PictureSizes& sizes,
                                     int threads = 0, const std::function<void(int, int)>& progress = {});

} // namespace image
