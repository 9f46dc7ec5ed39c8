#include "window/MainForm.h"

namespace brasvel {

struct MainForm::Impl {};

MainForm::MainForm(WindowToolkit& ui, WavePlayer& player)
    : ui_(ui), player_(player), model_(CatalogueModel::create()), impl_(std::make_unique<Impl>()) {}

MainForm::~MainForm() = default;

void MainForm::FormCreate(const std::string&, const std::string&) {}
void MainForm::ToolButton1Click() {}
void MainForm::LoadResurceFile1Click() {}
void MainForm::ToolButton2Click() {}
void MainForm::SaveSingleFile1Click() {}
void MainForm::ToolButton5Click() {}
void MainForm::SaveSingleFile2Click() {}
void MainForm::ToolButton4Click() {}
void MainForm::Exittheprogram1Click() {}
void MainForm::FormClose() {}
void MainForm::ViewLod() {}
void MainForm::SetPathForExtract1Click() {}
void MainForm::GeneralHelp1Click() {}
void MainForm::About2Click() {}
void MainForm::numitem(int, bool) {}
void MainForm::BitBtn3Click() {}
void MainForm::QuickView1Click() {}
void MainForm::scbChange() {}
void MainForm::Panel1Resize(int, int) {}
void MainForm::MediaPlayer1Click(PlayerButton) {}

}  // namespace brasvel
