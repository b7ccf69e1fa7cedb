#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

class Beeper;
class PaintBox;
class QPainter;
class RandomSource;

// Her expressions over the head of the stage picture: laughing (1), close to tears (2),
// crying aloud (3); 0 or less is her own calm face. Also the chance smile while the clock
// runs and the two debug buttons that exercise the faces.
class Faces {
public:
    // A picture by name; a null image when there is none.
    using BitmapSource = std::function<QImage(const QString& name)>;

    // smileBegins hands the smile's 20 seconds to the loneliness timer. Pictures come from
    // the program's own assets unless a source is given.
    Faces(PaintBox& FaceFrame, RandomSource& random, Beeper& beeper,
          std::function<void()> smileBegins, BitmapSource bitmaps = {});
    ~Faces();
    Faces(const Faces&) = delete;
    Faces& operator=(const Faces&) = delete;

    // Indexes above 3 change nothing.
    void setFace(int index);
    void FaceFramePaint(QPainter& painter);
    // The expression showing, taken again from the source, as after a change of scale.
    void redress();
    // Every third call while she shows her own face rolls the die; true when a smile began.
    bool tryRandomSmile();
    // After each rebuild of the dial: a chance smile, unless an expression shows.
    void dialRebuilt();
    void FaceTestClick();
    void RandomFace1Click();

    bool expressionShowing() const { return faceBitmap_ != nullptr; }
    // The picture over her face; null while her own face shows.
    const QImage* faceBitmap() const { return faceBitmap_.get(); }
    int smileCount() const { return smileCount_; }

private:
    PaintBox& faceFrame_;
    RandomSource& random_;
    Beeper& beeper_;
    std::function<void()> smileBegins_;
    BitmapSource bitmaps_;
    // One picture object from the first expression to the return to her own face.
    std::unique_ptr<QImage> faceBitmap_;
    int faceIndex_ = 0;
    int smileCount_ = 0;
    int faceTestCount_ = 1;
};
