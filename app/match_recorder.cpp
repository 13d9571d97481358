#include "app/match_recorder.h"

#include <utility>

void MatchRecorder::beforeToss(std::uint64_t drawsBefore)
{
    drawsBeforeToss_ = drawsBefore;
    captionDrawsSinceToss_ = 0;
}

void MatchRecorder::captionDraw(MatchPoint at, bool playStarted, bool gameOver)
{
    if (record_ && !gameOver)
        record_->addCaptionDraw(at);
    else if (!playStarted)
        ++captionDrawsSinceToss_;
}

void MatchRecorder::start(MatchFile header)
{
    record_ = std::move(header);
    record_->drawsBeforeToss = drawsBeforeToss_;
    if (captionDrawsSinceToss_ > 0)
        record_->captionDraws.push_back(CaptionDraws{MatchPoint{0, 0}, captionDrawsSinceToss_});
}

void MatchRecorder::continueWith(MatchFile record)
{
    record_ = std::move(record);
}

void MatchRecorder::add(const MatchEvent& event, bool gameOver)
{
    if (record_ && !gameOver) record_->events.push_back(event);
}

void MatchRecorder::reached(MatchPoint played, bool finished, std::vector<std::array<int, 2>> score)
{
    if (!record_) return;
    record_->played = played;
    record_->finished = finished;
    record_->score = std::move(score);
}

void MatchRecorder::stoppedShort()
{
    if (record_) record_->finished = false;
}
