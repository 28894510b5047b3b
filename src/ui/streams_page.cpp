#include "ui/streams_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

#include "app/station_client.h"

StreamsPage::StreamsPage(StationClient& client, QWidget* parent)
    : QWidget(parent),
      m_client(client),
      m_stream(new QComboBox(this)),
      m_enabled(new QCheckBox(QStringLiteral("Send the air to this server"), this)),
      m_format(new QComboBox(this)),
      m_spotTitles(new QCheckBox(QStringLiteral("Spots and jingles change the title too"), this)) {
    setObjectName(QStringLiteral("TabSheetStreams"));
    m_stream->setObjectName(QStringLiteral("ComboBoxStream"));
    for (int n = 1; n <= 4; ++n) m_stream->addItem(QStringLiteral("Stream %1").arg(n));
    m_enabled->setObjectName(QStringLiteral("CheckBoxStreamEnabled"));
    m_format->setObjectName(QStringLiteral("ComboBoxStreamFormat"));
    m_format->addItems({QStringLiteral("mp3"), QStringLiteral("ogg")});
    m_spotTitles->setObjectName(QStringLiteral("CheckBoxStreamSpotTitles"));
    auto* form = new QFormLayout(this);
    form->addRow(m_stream);
    form->addRow(m_enabled);
    form->addRow(QStringLiteral("Server"), Field("EditStreamServer", "Server"));
    form->addRow(QStringLiteral("Port"), Field("EditStreamPort", "Port"));
    form->addRow(QStringLiteral("Mount"), Field("EditStreamMount", "Mount"));
    form->addRow(QStringLiteral("User"), Field("EditStreamUser", "User"));
    QLineEdit* password = Field("EditStreamPassword", "Password");
    password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Password"), password);
    form->addRow(QStringLiteral("Format"), m_format);
    form->addRow(QStringLiteral("Bit rate (kbit/s)"), Field("EditStreamBitrate", "Bitrate"));
    form->addRow(QStringLiteral("Name"), Field("EditStreamName", "Name"));
    form->addRow(QStringLiteral("Genre"), Field("EditStreamGenre", "Genre"));
    form->addRow(QStringLiteral("Description"), Field("EditStreamDescription", "Description"));
    form->addRow(m_spotTitles);
    connect(m_stream, &QComboBox::currentIndexChanged, this, [this] { Load(m_state); });
    connect(m_enabled, &QCheckBox::clicked, this,
            [this](bool on) { Send("Enabled", on ? QStringLiteral("1") : QStringLiteral("0")); });
    connect(m_format, &QComboBox::activated, this,
            [this] { Send("Format", m_format->currentText()); });
    connect(m_spotTitles, &QCheckBox::clicked, this, [this](bool on) {
        m_client.Send(QStringLiteral("option"),
                      QStringLiteral("StreamSpotTitles ") + (on ? u'1' : u'0'));
    });
}

QLineEdit* StreamsPage::Field(const char* name, const char* key) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    m_fields.append({edit, key});
    connect(edit, &QLineEdit::textEdited, this,
            [this, key](const QString& text) { Send(key, text); });
    return edit;
}

void StreamsPage::Send(const char* key, const QString& value) {
    if (m_loading) return;
    const QString group = QStringLiteral("Stream%1/").arg(m_stream->currentIndex() + 1);
    m_client.Send(QStringLiteral("option"), group + QLatin1String(key) + u' ' + value);
}

void StreamsPage::Load(const OptionsState& state) {
    m_state = state;
    m_loading = true;
    const QString group = QStringLiteral("Stream%1/").arg(m_stream->currentIndex() + 1);
    const auto value = [&](const char* key) {
        return state.values.value(group + QLatin1String(key));
    };
    for (const auto& [edit, key] : m_fields)
        if (edit->text() != value(key)) edit->setText(value(key));
    m_enabled->setChecked(value("Enabled") == u"1");
    m_format->setCurrentText(value("Format"));
    m_spotTitles->setChecked(state.values.value(QStringLiteral("StreamSpotTitles")) == u"1");
    m_loading = false;
}
