// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/dial_accessible.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <algorithm>
#include <cmath>

#include "desktop/desktop_texts.h"
#include "desktop/dial_window.h"
#include "desktop/ephemeris_window.h"
#include "timeline/timeline_export.h"
#include "desktop/qt_desktop.h"
#include "dialview/pair_points.h"
#include "dialview/spoken.h"

namespace duoskop {

namespace {

class PictureAccessible;

/// An item of a painted picture (a factor of the dial, a line, curve or hit of the graphic
/// ephemeris): a child without an object of its own, read through the picture's interface.
class ItemAccessible : public QAccessibleInterface {
public:
    ItemAccessible(PictureAccessible* picture, int index) : picture_(picture), index_(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.readOnly = true;
        return s;
    }

private:
    PictureAccessible* picture_;
    int index_;
};

/// A painted picture whose items are its named children; each child is made once and kept, for a
/// screen reader knows it by its id.
class PictureAccessible : public QAccessibleWidget {
public:
    PictureAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    ~PictureAccessible() override
    {
        for (const QAccessible::Id id : children_) QAccessible::deleteAccessibleInterface(id);
    }
    PictureAccessible(const PictureAccessible&) = delete;
    PictureAccessible& operator=(const PictureAccessible&) = delete;

    /// The name of item `index` (0 <= index < childCount()) and its box on the screen.
    virtual QString item_name(int index) const = 0;
    virtual QRect item_rect(int index) const = 0;

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount()) return nullptr;
        while (children_.size() <= static_cast<std::size_t>(index)) {
            auto* made = new ItemAccessible(const_cast<PictureAccessible*>(this), static_cast<int>(children_.size()));
            children_.push_back(QAccessible::registerAccessibleInterface(made));
        }
        return QAccessible::accessibleInterface(children_[static_cast<std::size_t>(index)]);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (std::size_t i = 0; i < children_.size() && static_cast<int>(i) < childCount(); ++i)
            if (QAccessible::accessibleInterface(children_[i]) == child) return static_cast<int>(i);
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* c = child(i); c->rect().contains(x, y)) return c;
        return nullptr;
    }

    /// A box of the widget's coordinates on the screen.
    QRect on_screen(const QRectF& box) const
    {
        if (box.isEmpty()) return {};
        const QRect r = box.toAlignedRect();
        return {widget()->mapToGlobal(r.topLeft()), r.size()};
    }

private:
    mutable std::vector<QAccessible::Id> children_;
};

/// The dial's canvas: a dial named "Scheibe" whose value is the pointer's dial position.
class DialAccessible : public PictureAccessible, public QAccessibleValueInterface {
public:
    explicit DialAccessible(DialCanvas* canvas) : PictureAccessible(canvas, QAccessible::Dial) {}

    DialCanvas* canvas() const { return static_cast<DialCanvas*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? to_qt(texts::kA11yDial) : widget()->accessibleName();
        case QAccessible::Description:
            return to_qt(canvas()->reading.description);
        case QAccessible::Value: {
            const DialScene& scene = canvas()->scene;
            return to_qt(spoken_position(scene.pointer.value_or(0), scene.modulus));
        }
        default:
            return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return static_cast<int>(canvas()->reading.factors.size()); }

    QString item_name(int index) const override
    {
        return to_qt(factor_text(canvas()->reading.factors[static_cast<std::size_t>(index)]));
    }

    QRect item_rect(int index) const override
    {
        const DialCanvas* c = canvas();
        const std::vector<QRectF> boxes = factor_boxes(c->reading.factors, c->dial_area(), c->scene.modulus);
        if (index < 0 || static_cast<std::size_t>(index) >= boxes.size()) return {};
        return on_screen(boxes[static_cast<std::size_t>(index)]);
    }

    // The value: the pointer's dial position on the dial shown, 0 up to the dial's size.
    QVariant currentValue() const override { return canvas()->scene.pointer.value_or(0); }
    void setCurrentValue(const QVariant& value) override
    {
        bool ok = false;
        const double position = value.toDouble(&ok);
        if (ok && std::isfinite(position) && canvas()->pointer_moved)
            canvas()->pointer_moved(normalize_dial(position, canvas()->scene.modulus));
    }
    QVariant maximumValue() const override { return canvas()->scene.modulus; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return canvas()->reading.step; }

};

/// The graphic ephemeris: a picture whose children are its target lines, its movers' curves and
/// its hits, in that order, named as the dial names its factors.
class EphemerisAccessible : public PictureAccessible {
public:
    explicit EphemerisAccessible(EphemerisCanvas* canvas) : PictureAccessible(canvas, QAccessible::Chart) {}
    EphemerisCanvas* canvas() const { return static_cast<EphemerisCanvas*>(widget()); }

    int childCount() const override
    {
        const Ephemeris* e = canvas()->ephemeris.get();
        return e == nullptr ? 0 : static_cast<int>(e->lines.size() + e->curves.size() + e->hits.size());
    }

    QString item_name(int index) const override
    {
        const Ephemeris& e = *canvas()->ephemeris;
        return to_qt(ephemeris_item_text(e, static_cast<std::size_t>(index)));
    }

    QRect item_rect(int index) const override
    {
        const EphemerisCanvas* c = canvas();
        const Ephemeris& e = *c->ephemeris;
        auto i = static_cast<std::size_t>(index);
        if (i < e.lines.size()) {
            const QPointF left = c->point_of(e.from, e.lines[i].y), right = c->point_of(e.to, e.lines[i].y);
            return on_screen(QRectF(left.x(), left.y() - 2, right.x() - left.x(), 4));
        }
        i -= e.lines.size();
        if (i < e.curves.size()) {
            const auto& at = e.curves[i].label_at;
            return at ? on_screen(QRectF(c->point_of(at->t, at->y) - QPointF(16, 8), QSizeF(32, 16))) : QRect();
        }
        i -= e.curves.size();
        if (i < e.hits.size()) return on_screen(QRectF(c->point_of(e.hits[i].t, e.hits[i].y) - QPointF(5, 5), QSizeF(10, 10)));
        return {};
    }
};

bool ItemAccessible::isValid() const { return picture_->isValid() && index_ < picture_->childCount(); }

QWindow* ItemAccessible::window() const { return picture_->window(); }

QAccessibleInterface* ItemAccessible::parent() const { return picture_; }

QString ItemAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name || !isValid()) return {};
    return picture_->item_name(index_);
}

QRect ItemAccessible::rect() const { return isValid() ? picture_->item_rect(index_) : QRect(); }

DialEventListener event_listener = nullptr;

void send(QAccessibleEvent& event)
{
    if (event_listener != nullptr) event_listener(&event);
    QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* dial_factory(const QString&, QObject* object)
{
    // The canvas has no meta-object of its own: it is found as the widget it is.
    if (auto* canvas = dynamic_cast<DialCanvas*>(object)) return new DialAccessible(canvas);
    if (auto* canvas = dynamic_cast<EphemerisCanvas*>(object)) return new EphemerisAccessible(canvas);
    return nullptr;
}

}  // namespace

std::vector<DialFactorReading> person_factor_readings(const DialScene& scene)
{
    std::vector<DialFactorReading> factors;
    const auto add_ring = [&factors](const Positions& pos, std::uint8_t person) {
        for (std::uint8_t body = 0; body < compared_bodies; ++body)
            if (std::isfinite(pos[body]))
                factors.push_back({spoken_factor(PairFactor{body, person}), pos[body], person - 1});
    };
    add_ring(scene.pos1, 1);
    if (scene.pos2) add_ring(*scene.pos2, 2);
    return factors;
}

std::string ephemeris_item_text(const Ephemeris& e, std::size_t index)
{
    const auto target_words = [&e](std::size_t line) {
        const TargetLine& l = e.lines[line];
        return l.target < e.timeline.targets.size() ? spoken_point(e.timeline.targets[l.target].point) : l.label;
    };
    if (index < e.lines.size())
        return std::string(texts::kA11yEphemerisLine) + target_words(index) + ", " +
               spoken_position(e.lines[index].y, e.modulus);
    index -= e.lines.size();
    if (index < e.curves.size()) return std::string(texts::kA11yEphemerisCurve) + spoken_mover(e.curves[index].label);
    index -= e.curves.size();
    if (index >= e.hits.size()) return {};
    const EphemerisHit& hit = e.hits[index];
    const MinuteTime m = minute_time(hit.t);
    return std::string(texts::kA11yEphemerisHit) + date_text(m) + " " + clock_text(m) + " UT: " +
           spoken_mover(e.curves[hit.curve].label) + std::string(texts::kA11yEphemerisOn) + target_words(hit.line);
}

std::string factor_text(const DialFactorReading& factor)
{
    return factor.name + ", " + spoken_longitude(normalize_dial(factor.longitude, 360));
}

std::vector<QRectF> factor_boxes(const std::vector<DialFactorReading>& factors, const QRectF& area, double modulus)
{
    std::vector<QRectF> boxes(factors.size());
    int last_ring = 0;
    for (const DialFactorReading& f : factors) last_ring = std::max(last_ring, f.ring);
    for (int ring = 0; ring <= last_ring; ++ring) {
        std::vector<std::size_t> members;
        std::vector<double> longitudes;
        for (std::size_t i = 0; i < factors.size(); ++i)
            if (factors[i].ring == ring) {
                members.push_back(i);
                longitudes.push_back(factors[i].longitude);
            }
        if (members.empty()) continue;
        const std::vector<QRectF> ring_boxes = ring_label_boxes(area, modulus, ring, longitudes);
        for (std::size_t n = 0; n < members.size() && n < ring_boxes.size(); ++n) boxes[members[n]] = ring_boxes[n];
    }
    return boxes;
}

void install_dial_accessible()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(dial_factory);
}

DialEventListener listen_to_dial(DialEventListener listener)
{
    const DialEventListener before = event_listener;
    event_listener = listener;
    return before;
}

void update_dial_reading(DialCanvas& canvas, std::vector<DialFactorReading> factors, std::string description)
{
    DialReading& reading = canvas.reading;
    const std::vector<DialFactorReading> old_factors = std::move(reading.factors);
    const bool described = reading.description != description;
    reading.factors = std::move(factors);
    reading.description = std::move(description);
    const double pointer = canvas.scene.pointer.value_or(0);
    const bool moved = reading.announced_pointer != pointer;
    reading.announced_pointer = pointer;

    if (moved) {
        QAccessibleValueChangeEvent event(&canvas, pointer);
        send(event);
    }
    if (described) {
        QAccessibleEvent event(&canvas, QAccessible::DescriptionChanged);
        send(event);
    }
    if (old_factors == reading.factors || (!QAccessible::isActive() && event_listener == nullptr)) return;
    // Factors that stand elsewhere now are read with their new names; a ring that gained or lost
    // factors changes the dial's children.
    QAccessibleInterface* dial = QAccessible::queryAccessibleInterface(&canvas);
    if (dial == nullptr) return;
    const std::size_t common = std::min(old_factors.size(), reading.factors.size());
    for (std::size_t i = 0; i < common; ++i)
        if (!(old_factors[i] == reading.factors[i]))
            if (QAccessibleInterface* child = dial->child(static_cast<int>(i))) {
                QAccessibleEvent event(child, QAccessible::NameChanged);
                send(event);
            }
    if (old_factors.size() != reading.factors.size()) {
        QAccessibleEvent event(&canvas, QAccessible::ObjectReorder);
        send(event);
    }
}

}  // namespace duoskop
