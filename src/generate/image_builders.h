#pragma once
// The image builder and the bank file writer of every model.  Each builder reads the open
// configuration's documents through the File_* paths and leaves its images in the buffers
// of image_buffers.h with their lengths set; each writer puts them into Conf_Dir/bin.
// The dispatch table in image_dispatch.cpp picks the pair of the build's Model_Code.

void Build_Image_891();
void Save_Bank_Files_891();

// Models 893 and 872 (Model_Code 1 and 7) share one builder and one writer.
void Build_Image_893();
void Save_Bank_Files_872();

void Build_Image_892();
void Save_Bank_Files_892();

void Build_Image_894();
void Save_Bank_Files_894();

void Build_Image_896();
void Save_Bank_Files_896();

void Build_Image_890();
void Save_Bank_Files_890();

void Build_Image_897();
void Save_Bank_Files_897();

void Build_Image_895();
void Save_Bank_Files_895();

void Build_Image_871();
void Save_Bank_Files_871();

void Build_Image_860();
void Save_Bank_Files_860();

void Build_Image_QTB900();
void Save_Bank_Files_QTB900();
