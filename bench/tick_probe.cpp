// A window that only ticks, for the desktop idle figures: what 33 wake-ups a
// second cost on this machine and display, with nothing drawn ("wake") or
// with one 32 x 20 rectangle drawn and shown per tick ("damage"), the least
// an animation of that size can cost.  Runs until it is ended.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

namespace {

class Cell : public QWidget {
public:
    using QWidget::QWidget;
    void step()
    {
        lit_ = !lit_;
        update(rect());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), lit_ ? Qt::black : Qt::white); }

private:
    bool lit_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool damage = argc == 2 && std::strcmp(argv[1], "damage") == 0;
    if (argc != 2 || (!damage && std::strcmp(argv[1], "wake") != 0)) {
        std::fprintf(stderr, "usage: %s wake|damage\n", argv[0]);
        return 2;
    }
    // notivo's window and its busy cell: the same sizes and the same tick.
    QWidget window;
    window.setFixedSize(538, 318);
    window.setWindowTitle(QStringLiteral("tick probe"));
    auto* cell = new Cell(&window);
    cell->setAttribute(Qt::WA_OpaquePaintEvent);
    cell->setGeometry(492, 80, 32, 20);
    QTimer tick;
    tick.setInterval(30);
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, cell, [cell, damage] {
        if (damage)
            cell->step();
    });
    tick.start();
    window.show();
    return app.exec();
}
