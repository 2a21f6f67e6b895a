#include "literal_turn.h"

#include "image_surface.h"
#include "renderer.h"
#include "same_picture.h"

#include <QTest>

#include <random>

// Coordinates of a captured model's size: exactly 0 one time in eight, else whole or not.
static Model variedModel()
{
    Model model;
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> pick(-150.0, 150.0);
    model.points.resize(kMaxPoints);
    for (Coords &point : model.points)
        for (double &c : point) {
            const double f = pick(random);
            c = f < -112.5 ? 0.0 : f < 20 ? std::round(f) : f;
        }
    model.points[0] = {0.0, -0.0, 0.0};
    for (std::int32_t i = 0; i < kMaxPoints; ++i)
        model.colours.push_back(Colour(random() & 0xFFFFFF));
    return model;
}

class TestRenderer : public QObject {
    Q_OBJECT

private slots:
    // 100000 points, one coordinate in eight exactly 0 (the substitutes), against the case
    // formula, and the drawn view against the points plotted one by one.
    void matchesCaseFormula_data()
    {
        QTest::addColumn<double>("turn");
        QTest::addColumn<double>("tilt");
        QTest::newRow("quarter turns") << 90.0 << -90.0;
        QTest::newRow("365 is not wrapped to 5") << 365.0 << -365.0;
        QTest::newRow("a small swing") << 15.0 << -10.0;
    }
    void matchesCaseFormula()
    {
        QFETCH(double, turn);
        QFETCH(double, tilt);
        const Model model = variedModel();
        std::vector<Coords> fast(model.points.size());
        turnPoints(model.points, turn, tilt, fast);
        const std::vector<Coords> plain = literal::turnModel(model.points, turn, tilt);
        for (std::size_t i = 0; i < fast.size(); ++i)
            for (int c = 0; c < 3; ++c)
                if (!(std::fabs(fast[i][c] - plain[i][c]) <= 1e-9))
                    QFAIL(qPrintable(QStringLiteral("point %1 coordinate %2").arg(i).arg(c)));

        ImageSurface surface(kViewSize, kViewSize, kWhite);
        ViewRenderer().drawView(surface, model, turn, tilt, Projection::mainView(), {});
        QVERIFY(samePicture(surface.image(), literal::plotted(fast, model.colours), "view"));
    }

    // At L1 = 90, (0, 10, 5) shows 5 above the centre; NaN and infinite points are skipped.
    void drawing()
    {
        const Model model {{{0, 10, 5},
                            {std::nan(""), 10, 5},
                            {0, HUGE_VAL, 5},
                            {0, 10, -HUGE_VAL},
                            {0, -30, -40},
                            {0, -50, -40}},
                           {0, 1, 2, 3, 4, 5}};
        ImageSurface surface(kViewSize, kViewSize, kWhite);
        ViewRenderer().drawView(surface, model, 90, 0, Projection::mainView(), {});
        QImage expected = ImageSurface(kViewSize, kViewSize, kWhite).image();
        expected.setPixel(130, 125, qRgb(0, 0, 0));
        expected.setPixel(130, 170, qRgb(5, 0, 0)); // the later point overwrites
        QVERIFY(samePicture(surface.image(), expected, "view"));
    }

    // At the main view's size the fitted projection is the main view; at twice
    // its size each point is twice as far from the centre. Shading lightens far points.
    void projectedViews()
    {
        ImageSurface main(kViewSize, kViewSize, kWhite);
        ImageSurface fitted(kViewSize, kViewSize, kWhite);
        ViewRenderer renderer;
        renderer.drawView(main, variedModel(), 30, -15, Projection::mainView(), {});
        renderer.drawView(fitted, variedModel(), 30, -15, Projection::fitting(kViewSize, kViewSize),
                          {});
        QVERIFY(samePicture(fitted.image(), main.image(), "fitted"));

        const Model model {{{0, 10, 5}, {40, -20, -30}, {-40, 0, 60}}, {0, 1, 2}};

        ImageSurface twice(2 * kViewSize, 2 * kViewSize + 40, kWhite);
        renderer.drawView(twice, model, 0, 0, Projection::fitting(twice.width(), twice.height()),
                          {1, true});
        QCOMPARE(twice.pixel(261, 281 - 120), 2); // the nearest (depth -40), unshaded
        QCOMPARE(twice.pixel(261 + 20, 281 - 10), 0x595959); // halfway: 0.35 of the way to white
        QCOMPARE(twice.pixel(261 - 40, 281 + 60), 0xB3B3B3); // the farthest: 0.7 of the way
    }

    // The front view with halves, the edges and a surface drawn on before.
    void frontView()
    {
        Model model = variedModel();
        model.points.resize(2000);
        model.colours.resize(2000);
        for (std::size_t i = 0; i < 200; ++i)
            model.points[i] = {0, -130.5 + double(i) * 0.5, 130.5 - double(i % 7) * 0.5};
        ImageSurface surface(kViewSize, kViewSize, kWhite);
        surface.plot(3, 3, 0);
        ViewRenderer().drawUnturnedView(surface, model, Projection::mainView(), {});
        QVERIFY(
            samePicture(surface.image(), literal::plotted(model.points, model.colours), "view"));
    }
};

QTEST_APPLESS_MAIN(TestRenderer)
#include "tst_renderer.moc"
