#pragma once
// "Update Device": build the images of the open configuration for the build's Model_Code,
// then write them.  Both throw (EConvertError for a strict value that fails, EInOutError
// for a file that cannot be written, Exception for a document that cannot be parsed or a
// table that does not fit the image); the caller shows the text.  A failed build writes
// nothing.  A Model_Code without a builder does nothing.
void Build_Device_Image();
void Save_Device_Image();
