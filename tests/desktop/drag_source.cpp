// A helper window for the desktop tests: titled "drag source", it starts a real XDND drag
// of the files named on its command line (as file:// URLs) when the mouse is pressed on
// it, and prints "dropped N" with the drop's action once the drag is over. It also serves
// as another application's active window.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
  public:
    explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls)) {
        setWindowTitle(QStringLiteral("drag source"));
        setFixedSize(160, 100);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || urls_.isEmpty())
            return;
        auto* drag = new QDrag(this);
        auto* mime = new QMimeData;
        mime->setUrls(urls_);
        drag->setMimeData(mime);
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::LinkAction | Qt::MoveAction);
        std::printf("dropped %d\n", int(action));
        std::fflush(stdout);
    }

  private:
    QList<QUrl> urls_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i)
        urls.push_back(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i])));
    DragSource window(urls);
    window.move(900, 500);
    window.show();
    return app.exec();
}
