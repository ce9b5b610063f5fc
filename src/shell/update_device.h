#pragma once
// Joins "Update Device" to the image builders and to the update windows: creates the four
// update windows, registers them under their form names and installs the main window's
// steps that build the images and set the mode of the one-page window.
void Create_Update_Forms();
