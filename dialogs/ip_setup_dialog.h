// The editor of a camera's network settings.
#pragma once

#include "ip_setup_apply_check.h"
#include "modal_dialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;

// The camera the dialog was opened for, as the last search reported it.
struct IpSetupTarget {
    QString deviceName;  // put back when a name is refused
    QString subnetMask;  // put back when DHCP is chosen
    bool dhcp = false;   // m_bDhcp until a radio button is pressed
};

class CIPSetupDlg : public CModalDialog {
public:
    CIPSetupDlg();

    // Set before DoModal; the five texts, m_nAddressMode and m_bDhcp are read
    // back when Apply ends the dialog with IDOK.
    QString m_strDeviceName;
    QString m_strMacAddress;
    QString m_strIpAddress;
    QString m_strSubnetMask;
    QString m_strGateway;
    int m_nFirstHost = 1;     // last part of the first address of a multiple request, editable there
    int m_nLastHost = 255;    // last part of the last address of a multiple request, editable there
    int m_bDhcp = 0;          // 1: the camera is to use DHCP
    int m_bMultiple = 0;      // 1: several cameras, only mask and gateway are edited
    int m_nAddressMode = 0;   // checked radio button: 0 DHCP, 1 Static IP, -1 none
    IpSetupTarget m_target;

    void OnBnClickedApply();
    void OnBnClickedDhcp();
    void OnBnClickedStaticIp();
    void OnBnClickedCancel();
    void ArrangeMultipleLayout();

protected:
    void OnInitDialog() override;

private:
    void arrange(IpSetupLayout layout);
    QLineEdit* editOf(IpSetupField field) const;

    IpSetupLayout m_layout = IpSetupLayout::SingleDhcp;
    QRadioButton* m_radioDhcp;
    QRadioButton* m_radioStaticIp;
    QLabel* m_labelDeviceName;
    QLabel* m_labelMacAddress;
    QLabel* m_labelIpAddress;
    QLineEdit* m_editDeviceName;
    QLineEdit* m_editMacAddress;
    QLineEdit* m_editIpAddress;
    QLineEdit* m_editSubnetMask;
    QLineEdit* m_editGateway;
    // The multiple layout's range: the prefix, then the first and last host numbers.
    QWidget* m_hostRange;
    QLabel* m_labelHostPrefix;
    QLineEdit* m_editFirstHost;
    QLineEdit* m_editLastHost;
};
