#pragma once
// Joins "Update Device" to the image builders and to the update windows (created in the
// start-up order with the others): installs the main window's steps that build the images
// and set the mode of the one-page window.
void Create_Update_Forms();
