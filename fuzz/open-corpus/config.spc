<?xml version="1.0"?>
<?xml-stylesheet type="text/xsl"?>
<package>
	<summary>
		<watermark	content="Watermark"/>
		<headline	content="Siemens Downloadable Theme"/>
		<txt name="Title:"	content="demo-chosen-twice"/>
		<txt name="Author:"	content="Kestrova"/>
		<txt name="Published:"	content="2026-1-1"/>
		<txt name="Version:"	content="1.0"/>
		<txt name="Resolution:"	content="240x320 pixels"/>
		<txt name="Vendor:"	content=""/>
		<txt name="Price:"	content="0"/>
		<url name="URL:"	content=""/>
		<description	content="240x320"/>
		<model	content="EL71_2"/>
		<model	content="CF130_2"/>
		<model	content="swift_2"/>
	</summary>
<format type="theme" version="1.1">
	<res name="text_colors"	src="SkinScheme.col"/>
	<res name="standard_ringtone"	src="standard_ringtone.mid"/>
	<res name="standard_msg_ringtone"	src="standard_msg_ringtone.mid"/>
	<res name="switch_on_melody"	src="switch_on_melody.mid"/>
	<res name="switch_off_melody"	src="switch_off_melody.mid"/>
	<res name="switch_on_animation"	src="switch_on_animation.mid"/>
	<res name="switch_off_animation"	src="switch_off_animation.mid"/>
	<res name="progressbar"	src="progressbar.png"/>
	<res name="idle_wallpaper"	src="idle_wallpaper.mid"/>
	<res name="background_picture_bottom_fullscreen"	src="background_picture_bottom_fullscreen.png"/>
	<res name="background_picture_headline_fullscreen"	src="background_picture_headline_fullscreen.png"/>
	<res name="wait_animation"	src="wait_animation.mid"/>
	<res name="background_picture_options_popup"	src="background_picture_options_popup.mid"/>
	<res name="statusbar_standard"	src="statusbar_standard.png"/>
	<res name="pin_input_animation"	src="pin_input_animation.mid"/>
	<res name="background_picture_selection_icon"	src="background_picture_selection_icon.png"/>
	<res name="feedback_icon_hint"	src="feedback_icon_hint.png"/>
	<res name="background_picture_body_tab"	src="background_picture_body_tab.mid"/>
	<res name="preview_animation"	src="preview_animation.mid"/>
	<res name="background_picture_bottom_default"	src="background_picture_bottom_default.png"/>
	<res name="background_picture_selection_3lines"	src="background_picture_selection_3lines.png"/>
	<res name="background_picture_selection_2lines"	src="background_picture_selection_2lines.png"/>
	<res name="background_picture_selection_lines"	src="background_picture_selection_lines.png"/>
	<res name="feedback_icon_question"	src="feedback_icon_question.png"/>
	<res name="feedback_icon_warning"	src="feedback_icon_warning.png"/>
	<res name="feedback_icon_positive"	src="feedback_icon_positive.png"/>
	<res name="feedback_icon_negative"	src="feedback_icon_negative.png"/>
	<res name="netsearch_animation"	src="netsearch_animation.mid"/>
	<res name="tabulator_background_unselected"	src="tabulator_background_unselected.png"/>
	<res name="tabulator_background_selected"	src="tabulator_background_selected.png"/>
	<res name="background_picture_headline_default"	src="background_picture_headline_default.png"/>
	<res name="background_picture_body_default"	src="background_picture_body_default.mid"/>
	<res name="thumbnail_icon"	src="thumbnail_icon.png"/>
	<res name="background_picture_quickaccessfield_popup"	src="background_picture_quickaccessfield_popup.png"/>
	<res name="background_picture_searchfield_popup"	src="background_picture_searchfield_popup.png"/>
	<res name="background_picture_feedback_popup"	src="background_picture_feedback_popup.mid"/>
	<res name="statusbar_fullscreen"	src="statusbar_fullscreen.png"/>
	<res name="screensaver_image"	src="screensaver_image.mid"/>
	<res name="standard_distlist_ringtone"	src="standard_distlist_ringtone.mid"/>
	<res name="idle_wallpaper"	src="idle_wallpaper.png"/>
	<res name="progressbar"	src="progressbar.png"/>
	<res name="SkinScheme"	src="SkinScheme.col"/>
	<set name="screensaver_type"	value="DigitalClock"/>
</format>
<summary>
	<copyright	content="BenQ Mobile GmbH + Co. OHG"/>
</summary>
</package>
