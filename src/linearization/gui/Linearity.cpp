#include "linearization/gui/Linearity.h"

#include <QChart>
#include <QChartView>
#include <QFont>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPen>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include "linearization/gui/LinTexts.h"
#include "report/render/LinearityPicture.h"
#include "ui/PairedMessage.h"
#include "ui/controls/LabeledEdit.h"

namespace linearization {

namespace {

using lintexts::Chart;

constexpr int CurveWidth = 2;
constexpr int LeftMinorTicks = 4;

QFont arial(int pointSize) {
    QFont font(QStringLiteral("Arial"), pointSize, QFont::Bold);
    return font;
}

QFont titleFont() {
    QFont font = arial(24);
    font.setItalic(true);
    font.setUnderline(true);
    return font;
}

QLineSeries* makeSeries(const char* name, const QColor& colour, int width) {
    auto* series = new QLineSeries;
    series->setObjectName(QString::fromLatin1(name));
    series->setPen(QPen(colour, width));
    series->setPointsVisible(false);
    return series;
}

void styleAxis(QValueAxis& axis, const QString& title) {
    axis.setTitleText(title);
    axis.setTitleFont(arial(16));
    axis.setLabelsFont(arial(16));
}

}  // namespace

TLinearityForm::TLinearityForm(QWidget& owner, const LinearityContent& content, Dialogs& dialogs,
                               ReportSink print)
    : QWidget(&owner, Qt::Window),
      language_(content.language),
      data_(content.data),
      lengthMm_(content.lengthMm),
      dialogs_(dialogs),
      print_(std::move(print)) {
    setObjectName(QStringLiteral("TLinearityForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(text(Chart::Caption));
    setStyleSheet(QStringLiteral("background: white;"));
    buildChart(content);

    Print = new QPushButton(text(Chart::Print), this);
    Print->setObjectName(QStringLiteral("Print"));
    connect(Print, &QPushButton::clicked, this, &TLinearityForm::PrintClick);
    CloseLin = new QPushButton(text(Chart::Close), this);
    CloseLin->setObjectName(QStringLiteral("CloseLin"));
    connect(CloseLin, &QPushButton::clicked, this, &TLinearityForm::CloseLinClick);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(buildFields(content));
    buttons->addStretch();
    buttons->addWidget(Print);
    buttons->addWidget(CloseLin);
    auto* layout = new QHBoxLayout(this);
    auto* view = new QChartView(Chart1, this);
    view->setObjectName(QStringLiteral("Chart1"));
    layout->addWidget(view, 1);
    layout->addLayout(buttons);
}

void TLinearityForm::PrintClick() {
    showMaximized();
    const report::PreparedLinearityReport prepared =
        report::PrepareLinearityReport({data_, lengthMm_, language_}, shownFields(), shownLabels());
    if (!prepared.picture.written) {
        ShowPairedMessage(
            dialogs_, language_,
            WithAppended(lintexts::message(lintexts::Id::ExportNotWritten),
                         prepared.picturePath + QStringLiteral("\n") + prepared.picture.reason));
        return;
    }
    hide();
    if (print_)
        print_(prepared.request);
}

void TLinearityForm::CloseLinClick() {
    close();
}

void TLinearityForm::buildChart(const LinearityContent& content) {
    Chart1 = new QChart;
    Chart1->setTitle(text(Chart::Title));
    Chart1->setTitleFont(titleFont());
    Chart1->setBackgroundBrush(Qt::white);
    Chart1->legend()->hide();
    addSeries(content);
    buildAxes(content);
}

void TLinearityForm::addSeries(const LinearityContent& content) {
    Series1 = makeSeries("Series1", Qt::darkBlue, CurveWidth);
    Series2 = makeSeries("Series2", Qt::black, 1);
    Series3 = makeSeries("Series3", Qt::black, 1);
    const double b = content.data.tolerance;
    for (const ChartPoint& point : content.data.curve) {
        Series1->append(point.x, point.y);
        Series2->append(point.x, b);
        Series3->append(point.x, -b);
    }
    // The bottom axis's labels stay at the plot's edge; its line runs through zero.
    ZeroLine = makeSeries("ZeroLine", Qt::black, 1);
    ZeroLine->append(0, 0);
    ZeroLine->append(content.lengthMm, 0);
    for (QLineSeries* series : {Series1, Series2, Series3, ZeroLine})
        Chart1->addSeries(series);
}

void TLinearityForm::buildAxes(const LinearityContent& content) {
    LeftAxis = new QValueAxis;
    styleAxis(*LeftAxis, text(Chart::LeftAxis));
    const double limit = AxisLimit(content.data.tolerance);
    LeftAxis->setRange(-limit, limit);
    LeftAxis->setMinorTickCount(LeftMinorTicks);
    BottomAxis = new QValueAxis;
    styleAxis(*BottomAxis, text(Chart::BottomAxis));
    BottomAxis->setRange(0, content.lengthMm);
    Chart1->addAxis(LeftAxis, Qt::AlignLeft);
    Chart1->addAxis(BottomAxis, Qt::AlignBottom);
    for (QLineSeries* series : {Series1, Series2, Series3, ZeroLine}) {
        series->attachAxis(LeftAxis);
        series->attachAxis(BottomAxis);
    }
}

QWidget* TLinearityForm::buildFields(const LinearityContent& content) {
    auto* box = new QWidget(this);
    new QVBoxLayout(box);
    const SensorFields& f = content.fields;
    SensorType = addField(*box, "SensorType", text(Chart::ModelLabel), f.model);
    SensorLength = addField(*box, "SensorLength", text(Chart::LengthLabel),
                            QString::fromStdString(LengthFieldText(content.lengthMm)));
    SensorResolution =
        addField(*box, "SensorResolution", text(Chart::ResolutionLabel),
                 QString::fromStdString(ResolutionFieldText(f.resolution.toStdString())));
    SensorGradient = addField(*box, "SensorGradient", text(Chart::GradientLabel), f.gradient);
    SensorFN = addField(*box, "SensorFN", text(Chart::SerialNumberLabel), f.factoryNumber);
    SensorSW = addField(*box, "SensorSW", text(Chart::FirmwareLabel), f.firmware);
    return box;
}

LabeledEdit* TLinearityForm::addField(QWidget& box, const char* name, const QString& label,
                                      const QString& value) {
    auto* edit = new LabeledEdit(QString::fromLatin1(name), &box);
    edit->setCaption(label);
    edit->setText(value);
    edit->setReadOnly(true);
    box.layout()->addWidget(edit);
    return edit;
}

ChartFields TLinearityForm::shownFields() const {
    return {SensorType->text().toStdString(),       SensorLength->text().toStdString(),
            SensorResolution->text().toStdString(), SensorGradient->text().toStdString(),
            SensorFN->text().toStdString(),         SensorSW->text().toStdString()};
}

ChartFields TLinearityForm::shownLabels() const {
    return {SensorType->caption().toStdString(),       SensorLength->caption().toStdString(),
            SensorResolution->caption().toStdString(), SensorGradient->caption().toStdString(),
            SensorFN->caption().toStdString(),         SensorSW->caption().toStdString()};
}

QString TLinearityForm::text(Chart id) const {
    return pick(language_, lintexts::chartText(id)).value_or(QString());
}

}  // namespace linearization
