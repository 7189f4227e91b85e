#include "support/FakeEnvironment.h"

#include "app/PrintJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <algorithm>

class FakeEnvironment::FakeTimer : public Timer {
public:
    explicit FakeTimer(FakeEnvironment& env) : env_(&env) { env_->timers_.push_back(this); }
    ~FakeTimer() override {
        if (env_) {
            auto& list = env_->timers_;
            list.erase(std::remove(list.begin(), list.end(), this), list.end());
        }
    }
    void start(int intervalMs) override {
        interval_ = intervalMs;
        active_ = true;
        due_ = env_->monotonic_ + intervalMs;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int interval() const override { return interval_; }

    FakeEnvironment* env_;
    int interval_ = 0;
    bool active_ = false;
    std::int64_t due_ = 0;
};

FakeEnvironment::FakeEnvironment() : now_(QDate(2026, 12, 9), QTime(10, 0, 0)) {}

FakeEnvironment::~FakeEnvironment() {
    for (FakeTimer* t : timers_) {
        t->env_ = nullptr;
    }
}

std::unique_ptr<Timer> FakeEnvironment::createTimer() {
    return std::make_unique<FakeTimer>(*this);
}

int FakeEnvironment::activeTimers() const {
    return static_cast<int>(
        std::count_if(timers_.begin(), timers_.end(), [](FakeTimer* t) { return t->active_; }));
}

void FakeEnvironment::advance(std::int64_t ms) {
    const std::int64_t end = monotonic_ + ms;
    for (;;) {
        // The earliest due timer fires first; a timer may start, stop or delete others.
        FakeTimer* next = nullptr;
        for (FakeTimer* t : timers_) {
            if (t->active_ && t->due_ <= end && (!next || t->due_ < next->due_)) {
                next = t;
            }
        }
        if (!next) {
            break;
        }
        now_ = now_.addMSecs(next->due_ - monotonic_);
        monotonic_ = next->due_;
        if (next->singleShot) {
            next->active_ = false;
        } else {
            next->due_ += std::max(next->interval_, 1);
        }
        if (next->onTimeout) {
            next->onTimeout();
        }
    }
    now_ = now_.addMSecs(end - monotonic_);
    monotonic_ = end;
}

double FakeEnvironment::random() {
    if (!randomValues.empty()) {
        const double v = randomValues.front();
        randomValues.pop_front();
        return v;
    }
    // A fixed, evenly spread sequence so that unscripted tests are repeatable.
    sequence_ = sequence_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(sequence_ >> 11) / static_cast<double>(1ULL << 53);
}

SoundOutcome FakeEnvironment::playWave(const QString& path) {
    played.push_back(path);
    if (duringPlay) {
        duringPlay(path);
    }
    return soundOutcome ? soundOutcome(path) : SoundOutcome{};
}

MessageAnswer FakeEnvironment::message(QWidget*, const QString& title, const QString& text,
                                       MessageButtons buttons, MessageIcon icon) {
    messages.push_back({title, text, buttons, icon});
    if (duringMessage) {
        const Message shown = messages.back();
        duringMessage(shown);
    }
    if (!answers.empty()) {
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

bool FakeEnvironment::startProcess(const QString& program, const QStringList& arguments,
                                   QString* error) {
    processes.push_back({program, arguments});
    if (!processStarts && error) {
        *error = QStringLiteral("the program could not be started");
    }
    return processStarts;
}

std::unique_ptr<PrintJob> FakeEnvironment::openDefaultPrinter(const PrintRequest& request,
                                                              QString* reason) {
    if (!printerInstalled) {
        if (reason) {
            *reason = QStringLiteral("プリンタがインストールされていません");
        }
        return nullptr;
    }
    const QString folder =
        printFolder.isEmpty() ? QStringLiteral(MIRUNEA_ARTIFACTS_DIR) : printFolder;
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("printer-%1-%2.pdf")
                                                   .arg(QCoreApplication::applicationName())
                                                   .arg(printed.size() + 1));
    printed.push_back(path);
    std::unique_ptr<PrintJob> job = makePdfJob(request, path);
    if (!printerMargins.isNull() || !printerFullPage) {
        job->printer().setPageLayout(QPageLayout(QPageSize(QPageSize::A4), request.orientation,
                                                 printerMargins, QPageLayout::Millimeter));
        job->printer().setFullPage(printerFullPage);
    }
    return job;
}

QString FakeEnvironment::chooseSaveFile(QWidget*, const QString& caption, const QString&,
                                        const QString&) {
    saveFileQuestions.push_back(caption);
    if (saveFileAnswers.empty()) {
        return QString();
    }
    const QString path = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return path;
}

FileFault FakeEnvironment::fileFault(FileStep step) {
    const int nth = ++fileStepsAsked[static_cast<std::size_t>(step)];
    return fileFaults ? fileFaults(step, nth) : FileFault{};
}
