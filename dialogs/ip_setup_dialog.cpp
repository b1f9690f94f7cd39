#include "ip_setup_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "error_box.h"
#include "host_range.h"

namespace {

QLineEdit* newEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setMinimumWidth(258);
    return edit;
}

QLabel* newLabel(QWidget* parent, const char* text, const char* name) {
    auto* label = new QLabel(QLatin1StringView(text), parent);
    label->setObjectName(QLatin1StringView(name));
    return label;
}

QLineEdit* newHostEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setMaxLength(3);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    return edit;
}

// Enter must not end the dialog past Apply's checks.
QPushButton* newButton(QWidget* parent, const char* text) {
    auto* button = new QPushButton(QLatin1StringView(text), parent);
    button->setAutoDefault(false);
    return button;
}

void setState(QWidget* widget, FieldState state) {
    widget->setVisible(state.visible);
    widget->setEnabled(state.enabled);
}

}  // namespace

CIPSetupDlg::CIPSetupDlg()
    : CModalDialog(CloseBox::Shown),
      m_radioDhcp(new QRadioButton(QStringLiteral("DHCP"), this)),
      m_radioStaticIp(new QRadioButton(QStringLiteral("Static IP"), this)),
      m_labelDeviceName(newLabel(this, "Device Name : ", "deviceNameLabel")),
      m_labelMacAddress(newLabel(this, "MAC Address :", "macAddressLabel")),
      m_labelIpAddress(newLabel(this, "IP Address :", "ipAddressLabel")),
      m_editDeviceName(newEdit(this, "deviceNameEdit")),
      m_editMacAddress(newEdit(this, "macAddressEdit")),
      m_editIpAddress(newEdit(this, "ipAddressEdit")),
      m_editSubnetMask(newEdit(this, "subnetMaskEdit")),
      m_editGateway(newEdit(this, "gatewayEdit")),
      m_hostRange(new QWidget(this)),
      m_labelHostPrefix(newLabel(m_hostRange, "", "hostPrefixLabel")),
      m_editFirstHost(newHostEdit(m_hostRange, "firstHostEdit")),
      m_editLastHost(newHostEdit(m_hostRange, "lastHostEdit")) {
    setWindowTitle(QStringLiteral("IP Setup"));
    m_radioDhcp->setObjectName(QStringLiteral("dhcpRadio"));
    m_radioStaticIp->setObjectName(QStringLiteral("staticIpRadio"));
    m_editMacAddress->setReadOnly(true);
    auto* group = new QButtonGroup(this);
    group->addButton(m_radioDhcp, 0);
    group->addButton(m_radioStaticIp, 1);
    auto* apply = newButton(this, "Apply");
    auto* cancel = newButton(this, "Cancel");

    // Hidden rows take no room, so the multiple layout moves the mask and gateway rows up.
    auto* radios = new QHBoxLayout;
    radios->addWidget(m_radioDhcp, 0, Qt::AlignHCenter);
    radios->addWidget(m_radioStaticIp, 0, Qt::AlignHCenter);
    auto* fields = new QGridLayout;
    fields->addWidget(m_labelDeviceName, 0, 0);
    fields->addWidget(m_editDeviceName, 0, 1);
    fields->addWidget(m_labelMacAddress, 1, 0);
    fields->addWidget(m_editMacAddress, 1, 1);
    fields->addWidget(m_labelIpAddress, 2, 0);
    fields->addWidget(m_editIpAddress, 2, 1);
    auto* range = new QHBoxLayout(m_hostRange);
    range->setContentsMargins(0, 0, 0, 0);
    range->addWidget(m_labelHostPrefix);
    range->addWidget(m_editFirstHost);
    range->addWidget(new QLabel(QStringLiteral("~"), m_hostRange));
    range->addWidget(m_editLastHost);
    range->addStretch();
    fields->addWidget(m_hostRange, 2, 1);
    fields->addWidget(newLabel(this, "Subnet Mask :", "subnetMaskLabel"), 3, 0);
    fields->addWidget(m_editSubnetMask, 3, 1);
    fields->addWidget(newLabel(this, "GateWay :", "gatewayLabel"), 4, 0);
    fields->addWidget(m_editGateway, 4, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radios);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(apply, &QPushButton::clicked, this, &CIPSetupDlg::OnBnClickedApply);
    connect(m_radioDhcp, &QRadioButton::clicked, this, &CIPSetupDlg::OnBnClickedDhcp);
    connect(m_radioStaticIp, &QRadioButton::clicked, this, &CIPSetupDlg::OnBnClickedStaticIp);
    connect(cancel, &QPushButton::clicked, this, &CIPSetupDlg::OnBnClickedCancel);
}

void CIPSetupDlg::OnInitDialog() {
    m_editDeviceName->setText(m_strDeviceName);
    m_editMacAddress->setText(m_strMacAddress);
    m_editIpAddress->setText(m_strIpAddress);
    m_editSubnetMask->setText(m_strSubnetMask);
    m_editGateway->setText(m_strGateway);
    m_radioDhcp->setChecked(m_nAddressMode == 0);
    m_radioStaticIp->setChecked(m_nAddressMode == 1);
    m_labelHostPrefix->setText(addressPrefix(m_strIpAddress) + u'.');
    m_editFirstHost->setText(QString::number(m_nFirstHost));
    m_editLastHost->setText(QString::number(m_nLastHost));
    if (m_bMultiple)
        ArrangeMultipleLayout();
    else
        arrange(openingLayout(false, m_nAddressMode));
    m_bDhcp = m_target.dhcp ? 1 : 0;
}

void CIPSetupDlg::ArrangeMultipleLayout() { arrange(IpSetupLayout::Multiple); }

void CIPSetupDlg::arrange(IpSetupLayout layout) {
    m_layout = layout;
    const IpSetupFieldStates states = ipSetupFieldStates(layout);
    setState(m_radioDhcp, states.dhcpRadio);
    setState(m_radioStaticIp, states.staticRadio);
    setState(m_labelDeviceName, states.nameLabel);
    setState(m_editDeviceName, states.nameEdit);
    setState(m_labelMacAddress, states.macLabel);
    setState(m_editMacAddress, states.macEdit);
    setState(m_labelIpAddress, states.ipLabel);
    setState(m_editIpAddress, states.ipEdit);
    setState(m_editSubnetMask, states.maskEdit);
    setState(m_editGateway, states.gatewayEdit);
    m_hostRange->setVisible(layout == IpSetupLayout::Multiple);
}

void CIPSetupDlg::OnBnClickedDhcp() {
    arrange(IpSetupLayout::SingleDhcp);
    m_editSubnetMask->setText(m_target.subnetMask);
    m_bDhcp = 1;
}

void CIPSetupDlg::OnBnClickedStaticIp() {
    arrange(IpSetupLayout::SingleStatic);
    m_bDhcp = 0;
}

QLineEdit* CIPSetupDlg::editOf(IpSetupField field) const {
    switch (field) {
    case IpSetupField::DeviceName:
        return m_editDeviceName;
    case IpSetupField::IpAddress:
        return m_editIpAddress;
    case IpSetupField::SubnetMask:
        return m_editSubnetMask;
    case IpSetupField::Gateway:
        return m_editGateway;
    case IpSetupField::None:
        break;
    }
    return nullptr;
}

void CIPSetupDlg::OnBnClickedApply() {
    const bool multiple = m_layout == IpSetupLayout::Multiple;
    // Several cameras are not sent a name: the hidden name field refuses nothing.
    const QString name = multiple ? QString() : m_editDeviceName->text();
    const ApplyRefusal refusal =
        applyRefusal(m_layout, {name, m_editIpAddress->text(), m_editSubnetMask->text(), m_editGateway->text()});
    if (refusal.field != IpSetupField::None) {
        showErrorBox(this, refusal.message);
        QLineEdit* edit = editOf(refusal.field);
        if (refusal.field == IpSetupField::DeviceName) edit->setText(m_target.deviceName);
        edit->setFocus();
        edit->selectAll();
        return;
    }
    const std::optional<HostRange> hosts = hostRange(m_editFirstHost->text(), m_editLastHost->text());
    if (multiple && !hosts) {
        showErrorBox(this, QStringLiteral("The host numbers of the range must be whole numbers from 0 to 255, "
                                          "the first not above the last."));
        m_editFirstHost->setFocus();
        m_editFirstHost->selectAll();
        return;
    }
    if (multiple) {
        m_nFirstHost = hosts->first;
        m_nLastHost = hosts->last;
    }
    m_strDeviceName = m_editDeviceName->text();
    m_strMacAddress = m_editMacAddress->text();
    m_strIpAddress = m_editIpAddress->text();
    m_strSubnetMask = m_editSubnetMask->text();
    m_strGateway = m_editGateway->text();
    m_nAddressMode = m_radioDhcp->isChecked() ? 0 : m_radioStaticIp->isChecked() ? 1 : -1;
    accept();
}

void CIPSetupDlg::OnBnClickedCancel() { reject(); }
