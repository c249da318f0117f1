#pragma once
// Applying a model profile after model recognition (Btn_Raschet_TR_70, Btn_Raschet_TR_90):
// the common steps in their order, each panel taking the model's differences through its
// own method.

struct ModelProfile;
class Configuration;
class TForm1;

class ModelProfiles {
  public:
    ModelProfiles(TForm1* window, Configuration* config);

    // Unblocks the interface, shows the model's views, the table axis from register 00,
    // the settings arrangement and the module's mode, the digital MAF output frequency and
    // K_RashTopl, and the chart mask saved for the sensor configuration.
    void apply(const ModelProfile& profile);

    // The digital MAF output frequency computed at the last recognition, Hz.
    double Digital_MAF_Frequency = 0;

  private:
    TForm1* m_w;
    Configuration* m_config;
};
